#include "host/midi_output.h"

#include "core/log.h"
#include "host/audio_output.h"
#include "host/midi_ports.h"
#include "host/midi_recorder.h"
#include "host/midi_synth.h"

namespace tavir {

SynthesizerUse synthesizerUse = SynthesizerUse::kNobodyListens;
bool midiRecorderOnly = false;

namespace {

MIDIBackend backend = MIDIBackend::kClosed;
bool synthesizerOpen = false;  // loaded, and holding the audio output

// A device that refuses everything would otherwise fill the log.
constexpr int kLoggedDrops = 16;
int dropsLogged = 0;

bool deliver(const uint8_t* bytes, int length) {
    switch (backend) {
        case MIDIBackend::kSynthesizer:
            // Nobody renders the synthesizer in a run without sound: the message is taken
            // and goes nowhere, as it would to a device with its volume at zero.
            return !synthesizerOpen || queueSynthesizerMessage(bytes, length);
        case MIDIBackend::kPort: return sendToMIDIPort(bytes, length);
        case MIDIBackend::kRecorder: return true;
        case MIDIBackend::kClosed: return false;
    }
    return false;
}

bool send(const uint8_t* bytes, int length, bool longMessage, int tries) {
    if (backend == MIDIBackend::kClosed) return false;
    if (midiRecording.recording) recordMIDIMessage(bytes, length, longMessage);
    for (int attempt = 0; attempt < tries; ++attempt)
        if (deliver(bytes, length)) return true;
    if (tries > 1 && dropsLogged < kLoggedDrops) {
        ++dropsLogged;
        logPrint("MIDI message %02x (%d bytes) dropped: the device refused it %d times.%s\n",
                 bytes[0], length, tries,
                 dropsLogged == kLoggedDrops ? " Further drops are not logged." : "");
    }
    return false;
}

}  // namespace

bool openMIDIOutput(uint8_t deviceNumber) {
    closeMIDIOutput();
    dropsLogged = 0;
    if (midiRecorderOnly) {
        backend = MIDIBackend::kRecorder;
    } else if (deviceNumber == 0) {
        // The synthesizer is heard through the audio output, which it holds open as the
        // PSG does: without an output there is nothing to play it on.
        if (synthesizerUse != SynthesizerUse::kNobodyListens) {
            if (!openSynthesizer()) return false;
            if (!acquireAudioOutput()) {
                closeSynthesizer();
                return false;
            }
            synthesizerOpen = true;
        }
        backend = MIDIBackend::kSynthesizer;
    } else {
        if (!openMIDIPort(deviceNumber - 1)) return false;
        backend = MIDIBackend::kPort;
    }
    return true;
}

void closeMIDIOutput() {
    switch (backend) {
        case MIDIBackend::kSynthesizer:
            if (!synthesizerOpen) break;
            releaseAudioOutput();  // the last user closes it: no render runs after this
            closeSynthesizer();
            synthesizerOpen = false;
            break;
        case MIDIBackend::kPort: closeMIDIPort(); break;
        default: break;
    }
    backend = MIDIBackend::kClosed;
}

MIDIBackend midiBackend() {
    return backend;
}

bool sendMIDIShort(uint32_t message) {
    const uint8_t bytes[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                              static_cast<uint8_t>(message >> 16)};
    return send(bytes, midiShortLength(bytes[0]), false, kMIDISendTries);
}

bool sendMIDILong(const uint8_t* bytes, int length, int tries) {
    if (length <= 0 || length > 255) return false;
    return send(bytes, length, true, tries);
}

}  // namespace tavir
