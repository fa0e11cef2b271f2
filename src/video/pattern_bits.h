// Eight dots of a pattern byte in two colours, without a branch per dot: each byte value
// has a row of all-ones / all-zeros masks, so a dot is clear ^ ((set ^ clear) & mask),
// which the compiler turns into a few vector instructions per byte. The pattern modes
// spend most of their time here.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "video/vdp_state.h"

namespace tavir {

namespace detail {

template <typename Pixel>
struct alignas(32) PatternMasks {
    Pixel dot[256][8];  // [pattern byte][dot], the leftmost dot from bit 7
};

template <typename Pixel>
constexpr PatternMasks<Pixel> makePatternMasks() {
    PatternMasks<Pixel> masks{};
    for (int bits = 0; bits < 256; ++bits)
        for (int dot = 0; dot < 8; ++dot)
            masks.dot[bits][dot] = (bits >> (7 - dot)) & 1 ? static_cast<Pixel>(~Pixel{0}) : 0;
    return masks;
}

inline constexpr PatternMasks<uint16_t> kPatternMasks16 = makePatternMasks<uint16_t>();
inline constexpr PatternMasks<uint32_t> kPatternMasks32 = makePatternMasks<uint32_t>();

// The pixel one dot becomes: one 16-bit pixel, or two stored as one 32-bit value.
template <int Unit>
using UnitPixel = std::conditional_t<Unit == 1, uint16_t, uint32_t>;

template <typename Pixel>
constexpr const PatternMasks<Pixel>& patternMasks() {
    if constexpr (sizeof(Pixel) == 2)
        return kPatternMasks16;
    else
        return kPatternMasks32;
}

}  // namespace detail

// Writes the 8 dots of `bits` (1 = `set`, 0 = `clear`, palette numbers) as 8 pixels, or
// 16 when `Unit` is 2, and returns the position after them.
template <int Unit>
inline uint16_t* putPatternByte(uint16_t* out, uint8_t bits, uint8_t set, uint8_t clear) {
    if constexpr (Unit == 1) {
        const uint16_t background = vdp.drawPalette[clear];
        const uint16_t difference = background ^ vdp.drawPalette[set];
        const uint16_t* mask = detail::kPatternMasks16.dot[bits];
        uint16_t dots[8];
        for (int i = 0; i < 8; ++i)
            dots[i] = static_cast<uint16_t>(background ^ (difference & mask[i]));
        std::memcpy(out, dots, sizeof dots);
    } else {
        const uint32_t background = vdp.drawPalette2[clear];
        const uint32_t difference = background ^ vdp.drawPalette2[set];
        const uint32_t* mask = detail::kPatternMasks32.dot[bits];
        uint32_t dots[8];
        for (int i = 0; i < 8; ++i) dots[i] = background ^ (difference & mask[i]);
        std::memcpy(out, dots, sizeof dots);
    }
    return out + 8 * Unit;
}

}  // namespace tavir
