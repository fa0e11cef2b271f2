// The sprite collision test of S#0.
#pragma once

#include "video/sprite_scan.h"

namespace tavir {

// Sets S#0 bit 5 when two sprites of `line` put a dot on the same place. Transparent
// sprites (colour 0) and, in sprite mode 2, those with CC or IC set take no part.
void testCollision(const SpriteLine& line);

}  // namespace tavir
