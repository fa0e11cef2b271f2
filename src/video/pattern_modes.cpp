// Graphic 1 to 3: 32 x 24 characters of 8 x 8 dots from a name, a pattern and a colour
// table. Graphic 1 colours eight characters alike; Graphic 2 and 3 colour every pattern
// line and split the screen into thirds of 64 lines with tables of their own.
// Multicolour takes blocks of colour from the same name and pattern tables.
#include "video/line_pixels.h"
#include "video/pattern_bits.h"

namespace tavir {

namespace {

// A pattern byte in its colour byte's two colours: high nibble for 1, low for 0.
template <int Unit>
inline uint16_t* putPattern(uint16_t* out, uint8_t bits, uint8_t colours) {
    return putPatternByte<Unit>(out, bits, colours >> 4, colours & 15);
}

}  // namespace

template <int Unit>
void decodeGraphic1(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t names = (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 32u;
    const uint32_t colours = (r[10] & 7u) * 16384 + r[3] * 64u;
    const uint32_t patterns = (r[4] & 0x3Fu) * 2048 + (vramLine & 7);
    for (uint32_t column = 0; column < 32; ++column) {
        const uint8_t code = vramAt(names + column);
        out = putPattern<Unit>(out, vramAt(patterns + code * 8u), vramAt(colours + (code >> 3)));
    }
}

template <int Unit>
void decodeGraphic23(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t third = (vramLine >> 6) * 2048u;
    const uint32_t names = (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 32u;
    const uint32_t colours = (r[10] & 7u) * 16384 + (r[3] & 0x80u) * 64 + third + (vramLine & 7);
    const uint32_t patterns = (r[4] & 0x3Cu) * 2048 + third + (vramLine & 7);
    for (uint32_t column = 0; column < 32; ++column) {
        const uint32_t code = vramAt(names + column) * 8u;
        out = putPattern<Unit>(out, vramAt(patterns + code), vramAt(colours + code));
    }
}

// Multicolour: each character cell is 2 x 2 blocks of 4 x 4 dots. Cell row r uses
// bytes (r AND 3) x 2 and the one after of its pattern, one per block row; the high
// nibble colours the left block, the low nibble the right one.
template <int Unit>
void decodeMulticolour(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint32_t names = (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 32u;
    const uint32_t patterns =
        (r[4] & 0x3Fu) * 2048 + ((vramLine >> 3) & 3) * 2u + (vramLine & 7) / 4;
    for (uint32_t column = 0; column < 32; ++column) {
        const uint8_t colours = vramAt(patterns + vramAt(names + column) * 8u);
        out = putColours<Unit>(out, colours >> 4, 4);
        out = putColours<Unit>(out, colours & 15, 4);
    }
}

template void decodeGraphic1<1>(int, uint32_t, uint16_t*);
template void decodeGraphic1<2>(int, uint32_t, uint16_t*);
template void decodeGraphic23<1>(int, uint32_t, uint16_t*);
template void decodeGraphic23<2>(int, uint32_t, uint16_t*);
template void decodeMulticolour<1>(int, uint32_t, uint16_t*);
template void decodeMulticolour<2>(int, uint32_t, uint16_t*);

}  // namespace tavir
