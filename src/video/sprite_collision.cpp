#include "video/sprite_collision.h"

#include <array>
#include <cstdint>

#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kColourChange = 0x40;     // CC
constexpr uint8_t kIgnoreCollision = 0x20;  // IC

// The dots of a line as bits, leftmost first, with 32 to spare on either side for the
// parts of sprites that hang over an edge: dot x is bit 63 - (x + 32) % 64 of word
// (x + 32) / 64. The last word takes what a shift pushes past the spare dots.
struct LineDots {
    uint64_t word[6];
};
constexpr uint64_t kDotsInside[6] = {0x00000000FFFFFFFFu, ~uint64_t{0}, ~uint64_t{0},
                                     ~uint64_t{0},        0xFFFFFFFF00000000u, 0};

// Each bit of a byte twice: the dots of a magnified pattern byte.
constexpr auto kDoubledBits = [] {
    std::array<uint16_t, 256> doubled{};
    for (int bits = 0; bits < 256; ++bits)
        for (int i = 0; i < 8; ++i)
            if (bits & (1 << i)) doubled[bits] |= static_cast<uint16_t>(3u << (2 * i));
    return doubled;
}();

// The sprite's dots on the line, leftmost in bit 31.
uint32_t spriteDotBits(const LineSprite& sprite, int magnify) {
    if (magnify == 1) return uint32_t{sprite.pattern} << 16;
    return uint32_t{kDoubledBits[sprite.pattern >> 8]} << 16 | kDoubledBits[sprite.pattern & 0xFF];
}

}  // namespace

void testCollision(const SpriteLine& line) {
    if (line.count < 2) return;  // a collision takes two sprites
    LineDots taken = {};
    for (int i = 0; i < line.count; ++i) {
        const LineSprite& sprite = line.sprites[i];
        if ((sprite.colour & 15) == 0) continue;
        if (line.spriteMode == 2 && (sprite.colour & (kColourChange | kIgnoreCollision))) continue;
        const int at = sprite.x + 32;  // at least 0: EC moves a sprite 32 dots left at most
        const int w = at / 64, shift = at % 64;
        const uint64_t dots = uint64_t{spriteDotBits(sprite, line.magnify)} << 32;
        const uint64_t first = (dots >> shift) & kDotsInside[w];
        const uint64_t second = shift == 0 ? 0 : (dots << (64 - shift)) & kDotsInside[w + 1];
        if ((taken.word[w] & first) | (taken.word[w + 1] & second)) {
            vdp.vdpStatus[0] |= kS0Collision;
            return;
        }
        taken.word[w] |= first;
        taken.word[w + 1] |= second;
    }
}

}  // namespace tavir
