// The 32 hardware sprites: drawn over the line `renderLine` has just drawn, and tested
// for collisions. Neither limits the sprites per line nor reports a fifth or ninth one.
#pragma once

namespace tavir {

// Draws the sprites of `vdp.scanLine` into the frame buffer rows of that line.
void renderSpriteLine();

// Sets S#0 bit 5 when two sprites put a dot on the same place of `vdp.scanLine`.
void checkSpriteCollision();

}  // namespace tavir
