// What lets the run loop leave a scan line as it was drawn: a count that moves with every
// change that may alter the picture, and for VRAM, where the change was. A line is drawn
// again only when a register, the palette or the output changed since it was drawn, or
// VRAM it reads (see line_sources.h).
#pragma once

#include <cstdint>

#include "video/vdp_state.h"

namespace tavir {

// VRAM is watched in blocks of 128 bytes (a bitmap line is one or two) and in regions
// of 2 KB (a third of a Graphic 2 pattern or colour table, a sprite pattern table).
constexpr uint32_t kChangeBlockBytes = 128;
constexpr uint32_t kChangeRegionBytes = 2048;

struct PictureChanges {
    uint64_t count;       // every change so far
    uint64_t settingsAt;  // `count` at the last change that may touch any line
    uint64_t vramAt;      // `count` at the last VRAM change anywhere
    uint64_t blockAt[kVRAMSize / kChangeBlockBytes];
    uint64_t regionAt[kVRAMSize / kChangeRegionBytes];
};

extern PictureChanges pictureChanges;

// Registers, palette, a new frame buffer or colour format, the output toggle, a reset
// or a snapshot: every line may come out differently.
inline void notePictureChange() {
    pictureChanges.settingsAt = ++pictureChanges.count;
}

// VRAM byte `index` (inside 128 KB) may have changed.
inline void noteVRAMChange(uint32_t index) {
    PictureChanges& c = pictureChanges;
    c.vramAt = ++c.count;
    c.blockAt[index / kChangeBlockBytes] = c.count;
    c.regionAt[index / kChangeRegionBytes] = c.count;
}

// The count at the last change to any of the `bytes` from `address` (folded into VRAM;
// the span must not run past its end), as fine as the blocks and regions tell.
inline uint64_t vramChangedAt(uint32_t address, uint32_t bytes) {
    address &= kVRAMMask;
    const PictureChanges& c = pictureChanges;
    if (bytes == kChangeRegionBytes && address % kChangeRegionBytes == 0)
        return c.regionAt[address / kChangeRegionBytes];
    uint64_t at = 0;
    for (uint32_t b = address / kChangeBlockBytes; b <= (address + bytes - 1) / kChangeBlockBytes; ++b)
        at = c.blockAt[b] > at ? c.blockAt[b] : at;
    return at;
}

}  // namespace tavir
