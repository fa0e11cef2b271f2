// Entry points of the machine's parts that are not built yet, with the names and calls
// the run loop and the emulation thread use. Each one does nothing (or reports success)
// until its part arrives; the part then brings its own declaration and definition and
// its entry here is deleted.
#pragma once

#include <cstdint>

namespace tavir {

// Emulator commands and input recording.
void stopInputRecording();   // recording or playback off, its file closed
void recordKeyboardRows();   // the frame's matrix rows into or out of the recording
void recordJoystickState();  // the frame's joystick bytes into or out of the recording

}  // namespace tavir
