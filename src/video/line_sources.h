// What a scan line reads from VRAM, as the run loop's line skipping needs to know it: a
// line drawn before stays in the frame buffer until something it shows has changed.
#pragma once

#include <cstdint>

namespace tavir {

// Whether the border and active area of `vdp.scanLine`, with the registers as they stand,
// may differ from what was drawn at count `since` of `pictureChanges`.
bool backgroundChangedSince(uint64_t since);

// Whether the sprite tables the current mode reads changed after count `since`.
bool spriteTablesChangedSince(uint64_t since);

}  // namespace tavir
