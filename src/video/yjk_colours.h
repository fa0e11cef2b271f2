// Host pixels of the V9958's YJK colours, which have five bits per primary, built from
// the frame buffer's masks next to the eight-level tables.
#pragma once

#include <cstdint>

namespace tavir {

struct FiveBitLevels {
    uint16_t red[32], green[32], blue[32];
};

extern FiveBitLevels fiveBitLevels;

// Level i of each primary is trunc(i x mask / 31) AND mask, so 31 is the whole mask.
void buildFiveBitLevels(uint16_t redMask, uint16_t greenMask, uint16_t blueMask);

// R#25, the V9958's own register.
constexpr uint8_t kR25YJK = 0x08;        // YJK: Graphic 7 bytes are luminance and chroma
constexpr uint8_t kR25Attribute = 0x10;  // YAE: bit 3 of a byte picks a palette colour
constexpr uint8_t kR25MaskLeft = 0x02;   // MSK: the left eight dots show the border
constexpr uint8_t kR25TwoPages = 0x01;   // SP2: the horizontal scroll spans two pages

}  // namespace tavir
