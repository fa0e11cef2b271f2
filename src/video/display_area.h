// Where the VDP's picture sits in a frame: the adjust register R#18 and the line count
// decide which scan lines carry display rows and how wide the side borders are.
#pragma once

#include <cstdint>

#include "video/vdp_state.h"

namespace tavir {

constexpr int kLinesPerFrame = 256;
constexpr int kActiveDots = 256;  // the active area in 256-dot units
constexpr int kBorderDots = 32;   // each side border before the horizontal adjust

// The high nibble of R#18 as a signed value: 8 to 15 mean -8 to -1. A positive adjust
// moves the picture up (the display area starts earlier).
inline int verticalAdjust() {
    const int nibble = vdp.vdpRegister[18] >> 4;
    return nibble >= 8 ? nibble - 16 : nibble;
}

// The low nibble of R#18 as the horizontal shift h, -7 to 8: the left border is 32 + h
// dots wide and the right one 32 - h. Values 0-7 move the picture left, 8-15 right.
inline int horizontalAdjust() {
    const int nibble = vdp.vdpRegister[18] & 15;
    return (nibble & 8) ? 16 - nibble : -nibble;
}

inline int displayHeight() {
    return (vdp.vdpRegister[9] & kR9Lines212) ? 212 : 192;
}

// The scan line on which display row 0 would fall without an adjust.
inline int displayTop() {
    return (vdp.vdpRegister[9] & kR9Lines212) ? 22 : 32;
}

// The display row of a scan line; inside the display area when 0 <= row < displayHeight().
inline int displayRow(int line) {
    return line - displayTop() + verticalAdjust();
}

inline bool insideDisplay(int row) {
    return row >= 0 && row < displayHeight();
}

}  // namespace tavir
