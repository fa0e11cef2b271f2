// The picture's way out to the host: the frame buffer set up for the current size, and
// one hand-over of the finished picture per presented frame.
#pragma once

namespace tavir {

// Windowed (false) or full screen; the host decides what that means for its window.
extern bool fullScreen;

// Sets the frame buffer up for `display.displayMode`. False if it can't be done.
bool initDisplay();
void releaseDisplay();

// Once per frame when the frame was drawn or an interlaced picture is half done: the
// frame output key toggles drawing; a finished picture goes to the host.
void presentFrame();

}  // namespace tavir
