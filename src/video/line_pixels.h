// Helpers of the per-mode line decoders. A decoder fills the active area of one line in
// dot order, before the horizontal scroll: 256 pixels for the 320-pixel picture, 512 for
// the 640-pixel one. `Unit` is how many pixels one dot of a 256-dot mode becomes.
#pragma once

#include <cstdint>
#include <cstring>

#include "video/vdp_state.h"

namespace tavir {

constexpr int kActivePixelsMax = 512;

// One decoder per mode and picture size. `pageDrop` is subtracted from the page address
// of the bitmap modes: the first field of an interlaced picture takes the page below,
// and the two-page scroll reads both pages of a pair (modulo 2^32, so it may add).
using ActiveLineDecoder = void (*)(int vramLine, uint32_t pageDrop, uint16_t* active);

template <int Unit>
inline uint16_t* putPixel(uint16_t* out, uint16_t pixel) {
    out[0] = pixel;
    if constexpr (Unit == 2) out[1] = pixel;
    return out + Unit;
}

// A palette colour; the wide picture stores the doubled value in one go.
template <int Unit>
inline uint16_t* putColour(uint16_t* out, uint8_t colour) {
    if constexpr (Unit == 1) {
        *out = vdp.drawPalette[colour];
    } else {
        std::memcpy(out, &vdp.drawPalette2[colour], sizeof(uint32_t));
    }
    return out + Unit;
}

template <int Unit>
inline uint16_t* putColours(uint16_t* out, uint8_t colour, int dots) {
    for (int i = 0; i < dots; ++i) out = putColour<Unit>(out, colour);
    return out;
}

inline uint8_t vramAt(uint32_t address) {
    return vdp.vram[address & kVRAMMask];
}

// One line of a bitmap mode. Lines start at multiples of their length, so folding the
// address into VRAM keeps the whole line inside it.
inline const uint8_t* bitmapLine(uint32_t address) {
    return vdp.vram + (address & kVRAMMask);
}

// Graphic 4 and 5 have four 32 KB pages (R#2 bits 5-6), Graphic 6 and 7 two of 64 KB.
inline uint32_t smallBitmapPage(uint32_t pageDrop) {
    return (vdp.vdpRegister[2] & 0x60u) * 1024 - pageDrop;
}
inline uint32_t largeBitmapPage(uint32_t pageDrop) {
    return (vdp.vdpRegister[2] & 0x20u) * 2048 - pageDrop;
}

// The decoders of each mode family, for the 320-pixel (Unit 1) and 640-pixel (Unit 2)
// pictures.
template <int Unit>
void decodeText1(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeText2(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic1(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic23(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic4(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic5(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic6(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeGraphic7(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit>
void decodeMulticolour(int vramLine, uint32_t pageDrop, uint16_t* active);
template <int Unit, bool Attribute>
void decodeYJK(int vramLine, uint32_t pageDrop, uint16_t* active);

}  // namespace tavir
