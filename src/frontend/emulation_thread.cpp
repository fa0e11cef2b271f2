#include "frontend/emulation_thread.h"

#include "core/emulation_control.h"
#include "core/frame_end.h"
#include "core/machine.h"
#include "core/run_loop.h"
#include "frontend/command_routine.h"
#include "core/input_recording.h"
#include "frontend/snapshot.h"
#include "core/log.h"
#include "core/screen_message.h"
#include "core/settings.h"
#include "host/host_layer.h"
#include "sound/psg.h"
#include "host/key_state.h"
#include "sound/opll.h"
#include "video/display_output.h"

namespace tavir {

bool commandModifier = false;

namespace {

bool commandKeyDown(CommandKeyIndex key) {
    return keyDown(settings.CommandKey[key]);
}

bool stopRequested() {
    return emulationStopRequested.load();
}

int endEmulation(int result) {
    if (result != 0)
        showScreenMessage("The display could not be set up: %s says why", kLogFileName);
    releaseDisplay();
    emulationRunning.store(false);
    return result;
}

// A new display after a size or full-screen toggle. The toggle keys are waited out first,
// so that a key still held does not toggle again at the next frame end.
bool recreateDisplay() {
    releaseDisplay();
    if (!initDisplay()) return false;
    while ((commandKeyDown(kCommandKeyPictureSize) || commandKeyDown(kCommandKeyFullScreen)) &&
           !stopRequested()) {
        host.commandWaitPass();
        refreshKeyState();
    }
    refreshKeyState();
    while (commandKeyDown(kCommandKeyQuit) && !stopRequested()) {
        host.commandWaitPass();
        refreshKeyState();
    }
    return true;
}

}  // namespace

int emulationThread() {
    if (!initDisplay()) return endEmulation(1);
    emulationRunning.store(true);
    host.acquireKeyboard();
    frameEndState.framesRun = 0;

    for (;;) {
        runCPU(cpu);
        commandModifier = commandKeyDown(kCommandKeyModifier);
        stopInputRecording();
        stopPSG();
        allSoundOff();

        const uint8_t code = commandCode.load();
        switch (code) {
            case kCommandQuit: {
                // With the modifier the quit key only resets; a stop request always stops.
                const bool ending = !commandModifier || stopRequested();
                if (ending) saveSnapshotAtStop();  // the batch runner's last state
                resetMachine(cpu);
                if (ending) return endEmulation(0);
                break;
            }
            case kCommandDiskA:
            case kCommandDiskB:
            case kCommandSaveState:
            case kCommandLoadState: commandRoutine(); break;
            case kCommandJoystick1Pause:
            case kCommandJoystick2Pause: joystickPause(code - kCommandJoystick1Pause); break;
            case kCommandRecreateDisplay:
                // A display that can't be made again ends the emulation as at the start.
                if (!recreateDisplay()) return endEmulation(1);
                break;
            case kCommandHoldForDialog:
                // The window clears the code when its dialog closes. Any other code it sets
                // meanwhile (the window being destroyed) also ends the hold.
                emulationHeld.store(true);
                while (commandCode.load() == kCommandHoldForDialog && !stopRequested())
                    host.commandWaitPass();
                emulationHeld.store(false);
                break;
            case kCommandReset: resetMachine(cpu); break;
            default: break;
        }
        restartPSG();
        restoreChannels();
    }
}

std::thread startEmulationThread(int* result, std::atomic<bool>* ended) {
    emulationStopRequested.store(false);
    if (ended != nullptr) ended->store(false);
    return std::thread([result, ended] {
        const int value = emulationThread();
        if (result != nullptr) *result = value;
        if (ended != nullptr) ended->store(true);
    });
}

}  // namespace tavir
