// What a scan line reads from VRAM, as the run loop's line skipping needs to know it: a
// line drawn before stays in the frame buffer until something it shows has changed.
#pragma once

#include <cstdint>

#include "video/picture_changes.h"

namespace tavir {

// The count of `pictureChanges` at the last change to the VRAM that `vdp.scanLine` shows
// with the registers as they stand, and to the sprite tables.
uint64_t backgroundChangedAt();
uint64_t spriteTablesChangedAt();

// Whether the border and active area of `vdp.scanLine` may differ from what was drawn at
// count `since`.
inline bool backgroundChangedSince(uint64_t since) {
    const PictureChanges& c = pictureChanges;
    return c.settingsAt > since || (c.vramAt > since && backgroundChangedAt() > since);
}

// Whether the sprite tables the current mode reads changed after count `since`.
inline bool spriteTablesChangedSince(uint64_t since) {
    const PictureChanges& c = pictureChanges;
    return c.settingsAt > since || (c.vramAt > since && spriteTablesChangedAt() > since);
}

}  // namespace tavir
