// Drawing a line's sprites over the background `renderLine` put into the frame buffer.
#pragma once

#include "video/sprite_scan.h"

namespace tavir {

// Draws the sprites of `line` (scanned for `vdp.scanLine`, at least one) into the frame
// buffer rows of that line, keeping the background they cover for a later restore.
void drawSprites(const SpriteLine& line);

}  // namespace tavir
