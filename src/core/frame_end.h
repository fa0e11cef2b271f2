// The work after a frame's 256th line: input, the picture, pacing with frame skipping,
// sound, and the emulator's command keys.
#pragma once

#include <cstdint>

namespace tavir {

struct FrameEndState {
    uint32_t framesRun;         // frames ended since the emulation thread started
    bool screenshotKeyWasDown;  // the screenshot key acts once per press
};

extern FrameEndState frameEndState;

void endFrame();

// Sets the command code of the emulator keys held in keyState; a later key in the
// CommandKey order wins. Toggles the picture size and full screen for their keys.
void testCommandKeys();

}  // namespace tavir
