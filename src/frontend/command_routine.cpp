#include "frontend/command_routine.h"

#include "core/emulation_control.h"
#include "disk/disk_selection_keys.h"
#include "frontend/emulation_thread.h"
#include "core/frame_end.h"
#include "core/input_recording.h"
#include "core/joystick_input.h"
#include "core/log.h"
#include "core/settings.h"
#include "frontend/snapshot.h"
#include "host/host_layer.h"
#include "host/key_state.h"
#include "video/screenshot.h"

namespace tavir {

namespace {

// One pass of a wait: give the host its turn, then look at the keys again.
void waitPass() {
    host.commandWaitPass();
    refreshKeyState();
}

}  // namespace

void commandRoutine() {
    const uint8_t command = commandCode.load();
    refreshKeyState();
    int selection;
    while ((selection = findSelection(keyState)) == kNoSelection) {
        if (emulationStopRequested.load()) return;
        // The user opened a disk dialog instead of pressing a number: the later action
        // wins. The wait ends so that the thread can take up the dialog's hold.
        if (commandCode.load() == kCommandHoldForDialog) {
            if (command == kCommandDiskA || command == kCommandDiskB)
                logPrint("%c disk choice by key given up for the dialog.\n",
                         'A' + (command - kCommandDiskA));
            return;
        }
        waitPass();
    }
    if (selection != kSelectionCancelled && command == kCommandSaveState)
        saveSnapshot(selection, commandModifier);
    else if (selection != kSelectionCancelled && command == kCommandLoadState)
        loadSnapshot(selection, commandModifier);
    else
        changeDiskBySelection(command, selection);
    while (selectionKeyDown(keyState) && !emulationStopRequested.load()) waitPass();
}

void joystickPause(int index) {
    const uint8_t device = index == 0 ? settings.Joypad1 : settings.Joypad2;
    const CommandKeyIndex selectionCommands[] = {kCommandKeyDiskA, kCommandKeyDiskB,
                                                 kCommandKeySaveState, kCommandKeyLoadState};
    for (;;) {
        JoystickPosition position{};
        if (device == kNoJoystick || !host.readJoystick(device, &position)) return;
        if (!(position.buttons & kJoystickButton3) || emulationStopRequested.load()) return;
        if (commandCode.load() == kCommandHoldForDialog) return;  // a dialog wants the machine

        refreshKeyState();
        commandModifier = keyDown(settings.CommandKey[kCommandKeyModifier]);
        stopInputRecording();
        for (int i = 0; i < 4; ++i) {
            if (!keyDown(settings.CommandKey[selectionCommands[i]])) continue;
            commandCode.store(static_cast<uint8_t>(kCommandDiskA + i));
            commandRoutine();
        }
        const bool screenshotKey = keyDown(settings.CommandKey[kCommandKeyScreenshot]);
        if (screenshotKey && !frameEndState.screenshotKeyWasDown) saveScreenshot();
        frameEndState.screenshotKeyWasDown = screenshotKey;
        host.commandWaitPass();
    }
}

}  // namespace tavir
