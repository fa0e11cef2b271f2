// Every MIDI message the machine sends, with the emulated time it was sent at, kept while
// recording is on: what the tests check and what the batch runner saves as a MIDI file.
#pragma once

#include <cstdint>
#include <vector>

namespace tavir {

// Emulated time in scan lines: 256 to a frame, 60 frames to a second.
constexpr uint32_t kMIDILinesPerFrame = 256;

struct RecordedMIDIMessage {
    uint64_t line;    // scan lines since recording started
    uint32_t offset;  // first byte in RecordedMIDI::bytes
    uint16_t length;
    bool longMessage;  // sent as a long message (a SysEx, or bytes built for one)
};

struct RecordedMIDI {
    bool recording;
    std::vector<RecordedMIDIMessage> messages;
    std::vector<uint8_t> bytes;
    int64_t lastLine;  // the time only moves forward, even when the machine's frame
    int64_t lineBase;  // count starts again with a new emulation thread
};

extern RecordedMIDI midiRecording;

// Forgets what was recorded and starts afresh.
void startMIDIRecording();
void stopMIDIRecording();

// Called by the MIDI output for each message sent while recording is on.
void recordMIDIMessage(const uint8_t* bytes, int length, bool longMessage);

}  // namespace tavir
