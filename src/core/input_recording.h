// Input recording and playback. A recording is a snapshot file ("TAVIRnn.smv", with its
// cartridge block) followed by what the machine read from outside after it, in the order
// it arose: one byte per clock chip data read, then at every frame end keyboard rows 0-10
// and the two joystick bytes. Playing it back from the same snapshot puts those same
// values in place of the live ones, so the run repeats frame for frame.
#pragma once

#include <cstdint>
#include <cstdio>

namespace tavir {

enum RecordingMode : uint8_t {
    kRecordingOff = 0,
    kRecording = 1,
    kPlayingBack = 2,
};

// Read on every clock chip data read; written only by the functions below.
extern uint8_t recordingMode;

// Takes over `file`, positioned just past the snapshot, for recording or for playback.
void startInputRecording(std::FILE* file, RecordingMode mode);

// Recording or playback off and its file closed (every emulator command does this).
void stopInputRecording();

// At each frame end: the keyboard rows 0-10 and the joystick bytes into or out of the
// recording.
void recordKeyboardRows();
void recordJoystickState();

// A clock chip data read: records `value`, or replaces it with the recorded one.
uint8_t recordClockReadSlow(uint8_t value);

inline uint8_t recordClockRead(uint8_t value) {
    return recordingMode == kRecordingOff ? value : recordClockReadSlow(value);
}

}  // namespace tavir
