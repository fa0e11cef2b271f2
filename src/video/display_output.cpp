#include "video/display_output.h"

#include "core/frame_pacing.h"
#include "core/settings.h"
#include "host/host_layer.h"
#include "host/key_state.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

bool fullScreen = false;

namespace {

bool frameOutputKeyWasDown = false;

}  // namespace

bool initDisplay() {
    initFrameBuffer();
    if (frameBuffer.pixels == nullptr) return false;
    host.displayConfigured(frameBuffer.width, frameBuffer.height, fullScreen);
    return true;
}

void releaseDisplay() {}

void presentFrame() {
    const bool keyIsDown = keyDown(settings.CommandKey[kCommandKeyFrameOutput]);
    if (keyIsDown && !frameOutputKeyWasDown) {
        display.renderEnabled = !display.renderEnabled;
        notePictureChange();
    }
    frameOutputKeyWasDown = keyIsDown;
    if (!display.renderEnabled) return;

    // An interlaced picture is shown only once its second field is drawn.
    const bool secondField = vdp.vdpStatus[2] & kS2OddField;
    if (!framePacing.drawThisFrame && !secondField) return;
    if (display.otherFieldDrawn && !secondField) return;
    display.otherFieldDrawn = 0;
    host.presentPicture();
}

}  // namespace tavir
