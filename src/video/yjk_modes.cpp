// The V9958's YJK screens: Graphic 7 memory read as luminance Y per dot and chroma J, K
// shared by each group of four dots. With YAE a byte's bit 3 turns the dot into the
// palette colour of its top four bits, and Y has four bits (doubled) instead of five.
#include <algorithm>

#include "video/line_pixels.h"
#include "video/yjk_colours.h"

namespace tavir {

FiveBitLevels fiveBitLevels;

namespace {

uint16_t fiveBitLevel(int level, uint16_t mask) {
    return static_cast<uint16_t>(static_cast<uint32_t>(level * mask / 31.0) & mask);
}

// Two three-bit halves, low half first, as a signed six-bit value.
int chroma(uint8_t low, uint8_t high) {
    const int value = (low & 7) | (high & 7) << 3;
    return value >= 32 ? value - 64 : value;
}

int clampLevel(int level) {
    return std::clamp(level, 0, 31);
}

}  // namespace

void buildFiveBitLevels(uint16_t redMask, uint16_t greenMask, uint16_t blueMask) {
    for (int i = 0; i < 32; ++i) {
        fiveBitLevels.red[i] = fiveBitLevel(i, redMask);
        fiveBitLevels.green[i] = fiveBitLevel(i, greenMask);
        fiveBitLevels.blue[i] = fiveBitLevel(i, blueMask);
    }
}

template <int Unit, bool Attribute>
void decodeYJK(int vramLine, uint32_t pageDrop, uint16_t* out) {
    const uint8_t* bytes = bitmapLine(largeBitmapPage(pageDrop) + vramLine * 256u);
    const FiveBitLevels& levels = fiveBitLevels;
    for (int group = 0; group < 256; group += 4) {
        const uint8_t* b = bytes + group;
        const int k = chroma(b[0], b[1]);
        const int j = chroma(b[2], b[3]);
        for (int i = 0; i < 4; ++i) {
            if (Attribute && (b[i] & 0x08)) {
                out = putColour<Unit>(out, b[i] >> 4);
                continue;
            }
            const int y = Attribute ? (b[i] >> 4) * 2 : b[i] >> 3;
            // Integer division truncates toward zero; every value it rounds differently
            // from the chip is below zero and clamps to 0 either way.
            const uint16_t pixel = static_cast<uint16_t>(
                levels.red[clampLevel(y + j)] + levels.green[clampLevel(y + k)] +
                levels.blue[clampLevel((5 * y - 2 * j - k) / 4)]);
            out = putPixel<Unit>(out, pixel);
        }
    }
}

template void decodeYJK<1, false>(int, uint32_t, uint16_t*);
template void decodeYJK<2, false>(int, uint32_t, uint16_t*);
template void decodeYJK<1, true>(int, uint32_t, uint16_t*);
template void decodeYJK<2, true>(int, uint32_t, uint16_t*);

}  // namespace tavir
