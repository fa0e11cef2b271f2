// The MIDI output that the OPLL's translated music goes to: one seam, three backends.
// Device 0 is the built-in General MIDI synthesizer, devices 1, 2, ... are the ALSA
// sequencer's output ports in RtMidi's order, and the recorder keeps every message with
// the emulated time it was sent at (tests, and the batch runner's MIDI file). The recorder
// also listens beside a real device while recording is on.
//
// Sends happen on OPLL data-port writes, which are rare; still, nothing here allocates
// per message except the recorder's growing list.
#pragma once

#include <cstdint>

namespace tavir {

enum class MIDIBackend : uint8_t { kClosed, kSynthesizer, kPort, kRecorder };

// How device 0 is heard; the program sets it before start-up.
enum class SynthesizerUse : uint8_t {
    kNobodyListens,  // no sound output: no synthesizer is loaded, messages go only to the recorder
    kAudioThread,    // the desktop's audio callback renders it
    kEmulatedTime,   // the batch runner renders it at each frame end
};

extern SynthesizerUse synthesizerUse;

// Tests open the recorder alone, whatever the device number asks for.
extern bool midiRecorderOnly;

// Opens device `deviceNumber`. False when it can't be opened; the library's own reason
// has then gone to standard error and the output stays closed.
bool openMIDIOutput(uint8_t deviceNumber);
void closeMIDIOutput();
MIDIBackend midiBackend();

// A device may refuse a message (a full queue, a failing port). Each send tries a few
// times; a message still refused is dropped and the log says so (the first few times).
constexpr int kMIDISendTries = 4;

// A channel message packed as status | data1 << 8 | data2 << 16; program change and
// channel pressure are two bytes long.
bool sendMIDIShort(uint32_t message);

// A long message of 1-255 bytes, as the machine built it. `tries` 1 sends it once and
// ignores a refusal without a log line.
bool sendMIDILong(const uint8_t* bytes, int length, int tries = kMIDISendTries);

inline uint32_t packMIDI(uint8_t status, uint8_t data1, uint8_t data2 = 0) {
    return status | static_cast<uint32_t>(data1) << 8 | static_cast<uint32_t>(data2) << 16;
}

// Bytes of a channel message by its status byte: 2 for 0xC0-0xDF, 3 otherwise.
inline int midiShortLength(uint8_t status) {
    return (status & 0xE0) == 0xC0 ? 2 : 3;
}

}  // namespace tavir
