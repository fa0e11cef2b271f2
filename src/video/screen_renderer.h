// Draws one scan line of the VDP picture (border and background; sprites come after) into
// the frame buffer, with the registers as they stand at that line.
#pragma once

namespace tavir {

// Scan line `vdp.scanLine` (8-247 are visible) to frame buffer row L - 8 at 320 x 240 or
// rows 2(L - 8) and 2(L - 8) + 1 at 640 x 480.
void renderLine();

// Whether the frame buffer has the geometry `display.displayMode` draws into.
bool frameBufferReady();

}  // namespace tavir
