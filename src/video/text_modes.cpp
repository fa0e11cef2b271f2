// Text 1 (40 columns) and Text 2 (80 columns): 6-dot characters between two margins of 8
// dots (16 of Text 2's half-width dots) in the background colour.
#include "video/frame_buffer.h"
#include "video/line_pixels.h"
#include "video/pattern_bits.h"

namespace tavir {

namespace {

constexpr int kMarginDots = 8;

struct TextColours {
    uint8_t foreground, background;
};

TextColours textColours() {
    const uint8_t r7 = vdp.vdpRegister[7];
    return {static_cast<uint8_t>(r7 >> 4), static_cast<uint8_t>(r7 & 15)};
}

}  // namespace

template <int Unit>
void decodeText1(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t names = (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 40u;
    const uint32_t patterns = (r[4] & 0x3Fu) * 2048 + (vramLine & 7);
    const TextColours c = textColours();
    out = putColours<Unit>(out, c.background, kMarginDots);
    for (uint32_t column = 0; column < 40; ++column) {
        // All eight dots are written and the last two overwritten by the next
        // character or the right margin: cheaper than stopping at six.
        const uint8_t bits = vramAt(patterns + vramAt(names + column) * 8u);
        out = putPatternByte<Unit>(out, bits, c.foreground, c.background) - 2 * Unit;
    }
    putColours<Unit>(out, c.background, kMarginDots);
}

template <int Unit>
void decodeText2(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t names = (r[2] & 0x7Cu) * 1024 + (vramLine >> 3) * 80u;
    const uint32_t patterns = (r[4] & 0x3Fu) * 2048 + (vramLine & 7);
    const TextColours c = textColours();
    const uint16_t background = vdp.drawPalette[c.background];
    const uint16_t foreground = vdp.drawPalette[c.foreground];
    if constexpr (Unit == 1) {
        // 480 dots in 240 pixels: each pair of dots shares a pixel, half-lit pairs in the
        // mean of the two colours.
        const uint16_t mixed = mergeColours(background, foreground);
        const uint16_t byPair[4] = {background, mixed, mixed, foreground};
        out = putColours<1>(out, c.background, kMarginDots);
        for (uint32_t column = 0; column < 80; ++column) {
            const uint8_t bits = vramAt(patterns + vramAt(names + column) * 8u);
            *out++ = byPair[bits >> 6];
            *out++ = byPair[(bits >> 4) & 3];
            *out++ = byPair[(bits >> 2) & 3];
        }
        putColours<1>(out, c.background, kMarginDots);
    } else {
        // Every dot is its own pixel of the 640-pixel picture.
        out = putColours<2>(out, c.background, kMarginDots);
        for (uint32_t column = 0; column < 80; ++column) {
            const uint8_t bits = vramAt(patterns + vramAt(names + column) * 8u);
            for (int bit = 7; bit >= 2; --bit) *out++ = (bits >> bit) & 1 ? foreground : background;
        }
        putColours<2>(out, c.background, kMarginDots);
    }
}

template void decodeText1<1>(int, uint32_t, uint16_t*);
template void decodeText1<2>(int, uint32_t, uint16_t*);
template void decodeText2<1>(int, uint32_t, uint16_t*);
template void decodeText2<2>(int, uint32_t, uint16_t*);

}  // namespace tavir
