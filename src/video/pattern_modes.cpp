// Graphic 1 to 3: 32 x 24 characters of 8 x 8 dots from a name, a pattern and a colour
// table. Graphic 1 colours eight characters alike; Graphic 2 and 3 colour every pattern
// line and split the screen into thirds of 64 lines with tables of their own.
// Multicolour takes blocks of colour from the same name and pattern tables.
#include "video/line_pixels.h"
#include "video/pattern_bits.h"
#include "video/pattern_colours.h"
#include "video/pattern_tables.h"

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

// The pointers are held locally: the pixel stores could otherwise alias them and force a
// reload each character.
template <int Unit>
void decodeGraphic1(int vramLine, uint32_t, uint16_t* out) {
    const PatternTables t = graphic1Tables(vramLine);
    const uint8_t* vram = vdp.vram;
    const uint8_t* names = vram + t.names;
    const uint8_t* colours = vram + t.colours;
    const uint8_t* patterns = vram + t.patterns + (vramLine & 7);
    const auto& table = lineColours<Unit>();
    for (uint32_t column = 0; column < 32; ++column) {
        const uint8_t code = names[column];
        out = putColouredPattern<Unit>(out, patterns[code * 8u], colours[code >> 3], table);
    }
}

template <int Unit>
void decodeGraphic23(int vramLine, uint32_t, uint16_t* out) {
    const PatternTables t = graphic23Tables(vramLine);
    const uint8_t* vram = vdp.vram;
    const uint8_t* names = vram + t.names;
    const uint8_t* colours = vram + t.colours + (vramLine & 7);
    const uint8_t* patterns = vram + t.patterns + (vramLine & 7);
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
    const PatternTables t = multicolourTables(vramLine);
    const uint32_t names = t.names;
    const uint32_t patterns = t.patterns + ((vramLine >> 3) & 3) * 2u + (vramLine & 7) / 4;
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
