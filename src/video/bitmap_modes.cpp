// Graphic 4 to 7: one VRAM line per display line. Graphic 5 and 6 have 512 dots; the
// 320-pixel picture shows each pair of them as one pixel in their mean colour.
#include <algorithm>

#include "video/frame_buffer.h"
#include "video/line_pixels.h"

namespace tavir {

template <int Unit>
void decodeGraphic4(int vramLine, uint32_t pageDrop, uint16_t* out) {
    const uint8_t* bytes = bitmapLine(smallBitmapPage(pageDrop) + vramLine * 128u);
    for (int i = 0; i < 128; ++i) {
        out = putColour<Unit>(out, bytes[i] >> 4);
        out = putColour<Unit>(out, bytes[i] & 15);
    }
}

template <int Unit>
void decodeGraphic5(int vramLine, uint32_t pageDrop, uint16_t* out) {
    const uint8_t* bytes = bitmapLine(smallBitmapPage(pageDrop) + vramLine * 128u);
    const uint16_t* palette = vdp.drawPalette;
    if constexpr (Unit == 1) {
        // Each nibble holds two dots, which share one pixel.
        uint16_t byNibble[16];
        for (int n = 0; n < 16; ++n) byNibble[n] = mergeColours(palette[n >> 2], palette[n & 3]);
        for (int i = 0; i < 128; ++i) {
            *out++ = byNibble[bytes[i] >> 4];
            *out++ = byNibble[bytes[i] & 15];
        }
    } else {
        for (int i = 0; i < 128; ++i) {
            const uint8_t b = bytes[i];
            *out++ = palette[b >> 6];
            *out++ = palette[(b >> 4) & 3];
            *out++ = palette[(b >> 2) & 3];
            *out++ = palette[b & 3];
        }
    }
}

template <int Unit>
void decodeGraphic6(int vramLine, uint32_t pageDrop, uint16_t* out) {
    const uint8_t* bytes = bitmapLine(largeBitmapPage(pageDrop) + vramLine * 256u);
    uint16_t palette[16];  // local, so the stores below can't be taken to change it
    std::copy_n(vdp.drawPalette, 16, palette);
    if constexpr (Unit == 1) {
        const ColourMasks masks = colourMasks();
        for (int i = 0; i < 256; ++i) {
            *out++ = mergeColours(palette[bytes[i] >> 4], palette[bytes[i] & 15], masks);
        }
    } else {
        for (int i = 0; i < 256; ++i) {
            *out++ = palette[bytes[i] >> 4];
            *out++ = palette[bytes[i] & 15];
        }
    }
}

template <int Unit>
void decodeGraphic7(int vramLine, uint32_t pageDrop, uint16_t* out) {
    const uint8_t* bytes = bitmapLine(largeBitmapPage(pageDrop) + vramLine * 256u);
    for (int i = 0; i < 256; ++i) out = putPixel<Unit>(out, vdp.directColour[bytes[i]]);
}

template void decodeGraphic4<1>(int, uint32_t, uint16_t*);
template void decodeGraphic4<2>(int, uint32_t, uint16_t*);
template void decodeGraphic5<1>(int, uint32_t, uint16_t*);
template void decodeGraphic5<2>(int, uint32_t, uint16_t*);
template void decodeGraphic6<1>(int, uint32_t, uint16_t*);
template void decodeGraphic6<2>(int, uint32_t, uint16_t*);
template void decodeGraphic7<1>(int, uint32_t, uint16_t*);
template void decodeGraphic7<2>(int, uint32_t, uint16_t*);

}  // namespace tavir
