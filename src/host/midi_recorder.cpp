#include "host/midi_recorder.h"

#include <cstddef>

#include "core/frame_end.h"
#include "video/vdp_state.h"

namespace tavir {

RecordedMIDI midiRecording;

namespace {

// Enough for minutes of busy FM music before the lists have to grow.
constexpr size_t kReservedMessages = 1 << 16;

// Frames counted by the frame end, plus the line the machine is on now.
int64_t emulatedLine() {
    return static_cast<int64_t>(frameEndState.framesRun) * kMIDILinesPerFrame + vdp.scanLine;
}

}  // namespace

void startMIDIRecording() {
    RecordedMIDI& r = midiRecording;
    r.messages.clear();
    r.bytes.clear();
    r.messages.reserve(kReservedMessages);
    r.bytes.reserve(kReservedMessages * 3);
    r.lastLine = 0;
    // Time 0 is now.
    r.lineBase = -emulatedLine();
    r.recording = true;
}

void stopMIDIRecording() {
    midiRecording.recording = false;
}

void recordMIDIMessage(const uint8_t* bytes, int length, bool longMessage) {
    RecordedMIDI& r = midiRecording;
    if (!r.recording || length <= 0) return;
    int64_t line = emulatedLine() + r.lineBase;
    if (line < r.lastLine) {
        r.lineBase += r.lastLine - line;
        line = r.lastLine;
    }
    r.lastLine = line;
    r.messages.push_back({static_cast<uint64_t>(line), static_cast<uint32_t>(r.bytes.size()),
                          static_cast<uint16_t>(length), longMessage});
    r.bytes.insert(r.bytes.end(), bytes, bytes + length);
}

}  // namespace tavir
