// Graphic 1 to 3: 32 x 24 characters of 8 x 8 dots from a name, a pattern and a colour
// table. Graphic 1 colours eight characters alike; Graphic 2 and 3 colour every pattern
// line and split the screen into thirds of 64 lines with tables of their own.
// Multicolour takes blocks of colour from the same name and pattern tables.
#include "video/line_pixels.h"
#include "video/pattern_bits.h"
#include "video/pattern_colours.h"

namespace tavir {

namespace {

// The colour rows for this line's palette, in the picture's pixel width.
template <int Unit>
const PatternColours<detail::UnitPixel<Unit>>& lineColours() {
    if constexpr (Unit == 1)
        return patternColours(vdp.drawPalette);
    else
        return patternColours(vdp.drawPalette2);
}

}  // namespace

// The table addresses these modes can form stay below 128 KB (the highest name, pattern
// and colour byte is 0x1FFFF at most), so VRAM is indexed without folding. The pointer
// is held locally: the pixel stores could otherwise alias it and force a reload each
// character.
static_assert(kVRAMSize == 128 * 1024, "the pattern modes' tables end inside 128 KB");

template <int Unit>
void decodeGraphic1(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint8_t* vram = vdp.vram;
    const uint8_t* names = vram + (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 32u;
    const uint8_t* colours = vram + (r[10] & 7u) * 16384 + r[3] * 64u;
    const uint8_t* patterns = vram + (r[4] & 0x3Fu) * 2048 + (vramLine & 7);
    const auto& table = lineColours<Unit>();
    for (uint32_t column = 0; column < 32; ++column) {
        const uint8_t code = names[column];
        out = putColouredPattern<Unit>(out, patterns[code * 8u], colours[code >> 3], table);
    }
}

template <int Unit>
void decodeGraphic23(int vramLine, uint32_t, uint16_t* out) {
    const uint8_t* r = vdp.vdpRegister;
    const uint8_t* vram = vdp.vram;
    const uint32_t third = (vramLine >> 6) * 2048u;
    const uint8_t* names = vram + (r[2] & 0x7Fu) * 1024 + (vramLine >> 3) * 32u;
    const uint8_t* colours =
        vram + (r[10] & 7u) * 16384 + (r[3] & 0x80u) * 64 + third + (vramLine & 7);
    const uint8_t* patterns = vram + (r[4] & 0x3Cu) * 2048 + third + (vramLine & 7);
    const auto& table = lineColours<Unit>();
    for (uint32_t column = 0; column < 32; ++column) {
        const uint32_t code = names[column] * 8u;
        out = putColouredPattern<Unit>(out, patterns[code], colours[code], table);
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
