// The two colours of a Graphic 1-3 colour byte as ready-made rows of eight host pixels:
// a pattern byte then costs three loads, an AND and an XOR per eight dots instead of two
// palette look-ups, nibble splitting and broadcasts. The rows follow the palette the
// renderer draws with; entries are rebuilt only for palette colours that changed since
// the last line, so programs that rewrite the palette between lines pay little.
#pragma once

#include <cstdint>
#include <cstring>

#include "video/pattern_bits.h"
#include "video/vdp_state.h"

namespace tavir {

template <typename Pixel>
struct alignas(32) PatternColours {
    Pixel background[256][8];  // by colour byte: the low nibble's pixel, eight times
    Pixel difference[256][8];  // the high nibble's pixel XOR the low one's, eight times
    Pixel palette[16];         // the palette the rows were built from
};

// Brings the rows up to date with `palette` (vdp.drawPalette, or drawPalette2 for the
// 640-pixel picture) and returns them.
template <typename Pixel>
const PatternColours<Pixel>& patternColours(const Pixel (&palette)[16]);

// The 8 dots of `bits` in colour byte `colours` (high nibble for 1, low for 0), as 8
// pixels or 16 when `Unit` is 2; returns the position after them.
template <int Unit>
inline uint16_t* putColouredPattern(uint16_t* out, uint8_t bits, uint8_t colours,
                                    const PatternColours<detail::UnitPixel<Unit>>& table) {
    using Pixel = detail::UnitPixel<Unit>;
    const Pixel* background = table.background[colours];
    const Pixel* difference = table.difference[colours];
    const Pixel* mask = detail::patternMasks<Pixel>().dot[bits];
    Pixel dots[8];
    for (int i = 0; i < 8; ++i) dots[i] = background[i] ^ (difference[i] & mask[i]);
    std::memcpy(out, dots, sizeof dots);
    return out + 8 * Unit;
}

}  // namespace tavir
