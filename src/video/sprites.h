// The 32 hardware sprites: drawn over the line `renderLine` has just drawn, and tested
// for collisions. Only with msx.cfg's SpriteLimit are the sprites per line limited and a
// fifth or ninth one reported.
#pragma once

namespace tavir {

// Draws the sprites of `vdp.scanLine` into the frame buffer rows of that line.
void renderSpriteLine();

// Sets S#0 bit 5 when two sprites put a dot on the same place of `vdp.scanLine`.
void checkSpriteCollision();

// Whether `vdp.scanLine` had sprites on it when it was last drawn, or has some now: when
// only the sprite tables changed, other lines stay as they were drawn.
bool spritesOnLine();

// The per-line sprite work of the run loop: draws the sprites of `vdp.scanLine` when
// `draw` is set, tests collisions when msx.cfg's CheckSprite asks for it, and with
// SpriteLimit makes the S#0 report on lines that are not drawn too.
void spriteLine(bool draw);

}  // namespace tavir
