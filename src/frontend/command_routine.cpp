#include "frontend/command_routine.h"

#include "core/emulation_control.h"
#include "disk/disk_selection_keys.h"
#include "host/host_layer.h"
#include "host/key_state.h"

namespace tavir {

namespace {

// One pass of a wait: give the host its turn, then look at the keys again.
void waitPass() {
    host.commandWaitPass();
    refreshKeyState();
}

}  // namespace

void commandRoutine() {
    refreshKeyState();
    int selection;
    while ((selection = findSelection(keyState)) == kNoSelection) {
        if (emulationStopRequested.load()) return;
        waitPass();
    }
    changeDiskBySelection(commandCode.load(), selection);
    while (selectionKeyDown(keyState) && !emulationStopRequested.load()) waitPass();
}

}  // namespace tavir
