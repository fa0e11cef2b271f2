// The sprites that cover the current scan line, read once from the attribute table for
// both the drawing and the collision test.
#pragma once

#include <bit>
#include <cstdint>

namespace tavir {

constexpr int kSpriteCount = 32;
constexpr int kSpriteLineDots = 256;

struct LineSprite {
    uint16_t pattern;  // the row's dots, leftmost in bit 15 (8 x 8 sprites use bits 15-8)
    int16_t x;         // the first dot, already moved 32 dots left by EC
    uint8_t colour;    // sprite mode 1: attribute byte 3; mode 2: the colour table's byte
};

struct SpriteLine {
    LineSprite sprites[kSpriteCount];  // in attribute table order, front first
    int count;
    int patternDots;  // 8 or 16
    int magnify;      // 1, or 2 when every pattern dot covers two dots
    int spriteMode;   // 1 or 2
    int leftOut;      // with msx.cfg's SpriteLimit, the first sprite the line leaves out; else -1
};

// Sprite mode 1 or 2 of a screen mode, 0 for the text modes (they have no sprites).
int spriteModeOf(uint8_t screenMode);

struct SpriteTables {
    uint32_t attributes;  // 128 bytes
    uint32_t colours;     // sprite mode 2: 512 bytes, a line of colour per sprite row
    uint32_t patterns;    // 2 KB
};

// Where the registers put the tables of sprite mode `spriteMode` (1 or 2).
SpriteTables spriteTables(int spriteMode);

// Fills `line` for `vdp.scanLine`. False when there is nothing to do: display off,
// sprites off, a text mode, or a line outside the display area. With msx.cfg's
// SpriteLimit the line keeps only the sprites the chip can show and S#0 reports the
// first one left out.
bool scanSpriteLine(SpriteLine& line);

// Calls `dot(x)` for every set dot of the sprite that lands inside 0-255, left to right.
template <typename DotFunction>
inline void forEachSpriteDot(const LineSprite& sprite, const SpriteLine& line, DotFunction dot) {
    const int magnify = line.magnify;
    const bool inside = sprite.x >= 0 && sprite.x + 16 * magnify <= kSpriteLineDots;
    for (uint32_t bits = sprite.pattern; bits != 0;) {
        const int d = std::countl_zero(static_cast<uint16_t>(bits));
        bits &= ~(0x8000u >> d);
        const int x = sprite.x + d * magnify;
        for (int m = 0; m < magnify; ++m) {
            const int at = x + m;
            if (inside || (at >= 0 && at < kSpriteLineDots)) dot(at);
        }
    }
}

}  // namespace tavir
