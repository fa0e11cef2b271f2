// What the window thread and the emulation thread share: the one-byte command code, the
// flag that the emulation thread is alive, and a stop request that a modifier key can't
// turn into a reset. Nothing else of the machine is touched by both threads.
#pragma once

#include <atomic>
#include <cstdint>

namespace tavir {

// Values of `commandCode`.
enum CommandCode : uint8_t {
    kCommandNone = 0,
    kCommandQuit = 1,  // reset; then stop unless the modifier key is held
    kCommandDiskA = 2,
    kCommandDiskB = 3,
    kCommandSaveState = 4,
    kCommandLoadState = 5,
    kCommandJoystick1Pause = 6,
    kCommandJoystick2Pause = 7,
    kCommandRecreateDisplay = 8,
    kCommandHoldForDialog = 9,  // the window has a dialog open: wait until it clears this
    kCommandReset = 10,
};

// Polled by the run loop at every line end; written by both threads.
extern std::atomic<uint8_t> commandCode;

// True from the emulation thread's start (display set up) to its end.
extern std::atomic<bool> emulationRunning;

// True while the emulation thread waits out the window's hold for a dialog: only then
// may the window thread touch the machine's drives.
extern std::atomic<bool> emulationHeld;

// Set by requestEmulationStop; cleared when an emulation thread starts.
extern std::atomic<bool> emulationStopRequested;

// Ends the emulation for good (window destroyed, batch run over): the quit command,
// which then stops the thread even while the modifier key is held, and which survives
// the code being cleared when the run loop is re-entered after another command.
void requestEmulationStop();

}  // namespace tavir
