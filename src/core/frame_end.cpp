#include "core/frame_end.h"

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/vdp_line.h"
#include "core/input_recording.h"
#include "core/joystick_input.h"
#include "core/keyboard_input.h"
#include "core/settings.h"
#include "host/host_layer.h"
#include "sound/psg.h"
#include "host/key_state.h"
#include "sound/opll.h"
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "video/screenshot.h"
#include "video/vdp_state.h"

namespace tavir {

FrameEndState frameEndState;

namespace {

bool commandKeyDown(CommandKeyIndex key) {
    return keyDown(settings.CommandKey[key]);
}

// Hands a key's command to the emulation thread, but never over the window's hold for an
// open dialog: the machine must stay stopped while the dialog works on its drives.
void postCommand(uint8_t code) {
    uint8_t current = commandCode.load();
    while (current != kCommandHoldForDialog && !commandCode.compare_exchange_weak(current, code)) {
    }
}

}  // namespace

void testCommandKeys() {
    uint8_t code = kCommandNone;
    if (commandKeyDown(kCommandKeyQuit)) code = kCommandQuit;
    if (commandKeyDown(kCommandKeyDiskA)) code = kCommandDiskA;
    if (commandKeyDown(kCommandKeyDiskB)) code = kCommandDiskB;
    if (commandKeyDown(kCommandKeySaveState)) code = kCommandSaveState;
    if (commandKeyDown(kCommandKeyLoadState)) code = kCommandLoadState;
    if (commandKeyDown(kCommandKeyPictureSize)) {
        // Between the two sizes; a DisplayMode of 2 or more from msx.cfg becomes 0.
        display.displayMode = display.displayMode == 0 ? 1 : 0;
        code = kCommandRecreateDisplay;
    }
    if (commandKeyDown(kCommandKeyFullScreen)) {
        fullScreen = !fullScreen;
        code = kCommandRecreateDisplay;
    }
    if (code != kCommandNone) postCommand(code);
}

void endFrame() {
    pollJoystick();
    pollKeyboard();
    switch (settings.UseNumpad) {
        case 1:
        case 2: numpadJoystick(settings.UseNumpad - 1); break;
        case 3: numpadChannelMute(); break;
        default: break;
    }

    const bool screenshotKey = commandKeyDown(kCommandKeyScreenshot);
    if (screenshotKey && !frameEndState.screenshotKeyWasDown) saveScreenshot();
    frameEndState.screenshotKeyWasDown = screenshotKey;

    if (framePacing.drawThisFrame || display.otherFieldDrawn) presentFrame();

    const uint32_t elapsed = waitForFrameDeadline();
    if (settings.UsePSG) {
        updateTone(0);
        updateTone(1);
        updateTone(2);
        updateNoise();
    }
    decideNextFrame(elapsed);

    vdp.vdpStatus[2] ^= kS2OddField;  // the interlace field alternates every frame
    testCommandKeys();
    recordJoystickState();
    host.frameEnded(++frameEndState.framesRun);
}

}  // namespace tavir
