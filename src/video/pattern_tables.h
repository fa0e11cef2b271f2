// Where a line of Graphic 1-3 or Multicolour finds its names, patterns and colours: the
// decoders read there, and the line skipping watches the same places.
#pragma once

#include <cstdint>

#include "video/vdp_state.h"

namespace tavir {

struct PatternTables {
    uint32_t names;     // the line's 32 names
    uint32_t patterns;  // the 2 KB of patterns the names index
    uint32_t colours;   // Graphic 1: the 32 colour bytes; Graphic 2/3: the 2 KB third
};

// The tables' addresses stay below 128 KB (the highest byte any of them reaches is
// 0x1FFFF), so VRAM is indexed without folding.
static_assert(kVRAMSize == 128 * 1024, "the pattern modes' tables end inside 128 KB");

inline uint32_t nameRow(int vramLine) {
    return (vdp.vdpRegister[2] & 0x7Fu) * 1024 + static_cast<uint32_t>(vramLine >> 3) * 32u;
}

inline PatternTables graphic1Tables(int vramLine) {
    const uint8_t* r = vdp.vdpRegister;
    return {nameRow(vramLine), (r[4] & 0x3Fu) * 2048, (r[10] & 7u) * 16384 + r[3] * 64u};
}

// Graphic 2 and 3 split the screen into thirds of 64 lines with tables of their own.
inline PatternTables graphic23Tables(int vramLine) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t third = static_cast<uint32_t>(vramLine >> 6) * 2048u;
    return {nameRow(vramLine), (r[4] & 0x3Cu) * 2048 + third,
            (r[10] & 7u) * 16384 + (r[3] & 0x80u) * 64 + third};
}

// Multicolour's blocks of colour sit in the pattern table; it has no colour table.
inline PatternTables multicolourTables(int vramLine) {
    return {nameRow(vramLine), (vdp.vdpRegister[4] & 0x3Fu) * 2048, 0};
}

}  // namespace tavir
