#include "core/input_recording.h"

#include "core/joystick_state.h"
#include "core/log.h"
#include "memory/io_ports.h"

namespace tavir {

uint8_t recordingMode = kRecordingOff;

namespace {

constexpr int kRecordedRows = 11;  // rows 9 and 10 are the keypad's

std::FILE* recordingFile = nullptr;

// Appends or reads back `count` bytes. A write that fails (disk full) ends the recording
// with a log line: what follows could not be replayed anyway. A read that comes up short
// ends playback silently after taking the bytes it got; live input goes on from there.
void transfer(uint8_t* bytes, size_t count) {
    if (recordingMode == kRecording) {
        if (std::fwrite(bytes, 1, count, recordingFile) != count) {
            logPrint("Input recording stopped: write failed.\n");
            stopInputRecording();
        }
    } else if (recordingMode == kPlayingBack) {
        if (std::fread(bytes, 1, count, recordingFile) != count) stopInputRecording();
    }
}

}  // namespace

void startInputRecording(std::FILE* file, RecordingMode mode) {
    stopInputRecording();
    if (file == nullptr || mode == kRecordingOff) return;
    recordingFile = file;
    recordingMode = mode;
}

void stopInputRecording() {
    recordingMode = kRecordingOff;
    if (recordingFile == nullptr) return;
    std::FILE* file = recordingFile;
    recordingFile = nullptr;
    if (std::fclose(file) != 0) logPrint("Input recording stopped: write failed.\n");
}

void recordKeyboardRows() {
    transfer(portDevices.keyboardMatrix, kRecordedRows);
}

void recordJoystickState() {
    transfer(joystickState, 2);
}

uint8_t recordClockReadSlow(uint8_t value) {
    transfer(&value, 1);
    return value;
}

}  // namespace tavir
