#include "video/sprite_drawing.h"

#include <algorithm>
#include <cstring>

#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/line_background.h"
#include "video/pattern_bits.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

// Sprites sit in the 256-dot area after the left border; the horizontal scroll does
// not move them. In the 640 x 480 picture a dot is two pixels in each of two rows.
// Palette colours are copied locally: the row stores could otherwise alias the palette
// and force a reload each dot.
struct SpriteRows {
    uint16_t* upper;
    uint16_t* lower;  // 640 x 480 only
};

SpriteRows spriteRows() {
    const int line = vdp.scanLine;
    const int left = kBorderDots + horizontalAdjust();
    if (display.displayMode == 0) return {frameBufferRow(line - 8) + left, nullptr};
    return {frameBufferRow((line - 8) * 2) + 2 * left, frameBufferRow((line - 8) * 2 + 1) + 2 * left};
}

inline void putWideDot(const SpriteRows& rows, int x, uint32_t pixels) {
    std::memcpy(rows.upper + 2 * x, &pixels, sizeof pixels);
    std::memcpy(rows.lower + 2 * x, &pixels, sizeof pixels);
}

// Eight dots of a pattern byte over the row: the set ones take `pixel`, without a branch
// per dot.
template <typename Pixel>
inline void blendPatternByte(uint16_t* row, uint8_t bits, Pixel pixel) {
    const Pixel* mask = detail::patternMasks<Pixel>().dot[bits];
    Pixel dots[8];
    std::memcpy(dots, row, sizeof dots);
    for (int i = 0; i < 8; ++i) dots[i] = static_cast<Pixel>(dots[i] ^ ((dots[i] ^ pixel) & mask[i]));
    std::memcpy(row, dots, sizeof dots);
}

// A sprite of 8 or 16 unmagnified dots wholly inside the line, a byte of its pattern at a time.
template <typename Pixel>
void blendSprite(uint16_t* row, const LineSprite& sprite, int patternDots, Pixel pixel) {
    constexpr int unit = sizeof(Pixel) / sizeof(uint16_t);
    blendPatternByte(row + sprite.x * unit, static_cast<uint8_t>(sprite.pattern >> 8), pixel);
    if (patternDots == 16)
        blendPatternByte(row + (sprite.x + 8) * unit, static_cast<uint8_t>(sprite.pattern), pixel);
}

// Sprite mode 1: colour 0 is transparent, and a sprite covers those behind it, so the
// sprites go straight into the row back to front and the lower-numbered one shows.
void drawMode1Sprites(const SpriteLine& line) {
    const SpriteRows rows = spriteRows();
    for (int i = line.count - 1; i >= 0; --i) {
        const LineSprite& sprite = line.sprites[i];
        const uint8_t colour = sprite.colour & 15;
        if (colour == 0) continue;
        const bool whole = line.magnify == 1 && sprite.x >= 0 &&
                           sprite.x + line.patternDots <= kSpriteLineDots;
        if (rows.lower == nullptr) {
            const uint16_t pixel = vdp.drawPalette[colour];
            if (whole)
                blendSprite(rows.upper, sprite, line.patternDots, pixel);
            else
                forEachSpriteDot(sprite, line, [&rows, pixel](int x) { rows.upper[x] = pixel; });
        } else {
            const uint32_t pixels = vdp.drawPalette2[colour];
            if (whole) {
                blendSprite(rows.upper, sprite, line.patternDots, pixels);
                blendSprite(rows.lower, sprite, line.patternDots, pixels);
            } else {
                forEachSpriteDot(sprite, line, [&rows, pixels](int x) { putWideDot(rows, x, pixels); });
            }
        }
    }
}

// Sprite mode 2 mixes the colour numbers of overlapping sprites, so the line's colours
// are gathered first, then dots `first` to `end` - 1 go into the row.
void drawMode2Sprites(const SpriteLine& line, int first, int end) {
    uint8_t colours[kSpriteLineDots] = {};
    for (int i = line.count - 1; i >= 0; --i) {
        const LineSprite& sprite = line.sprites[i];
        const uint8_t colour = sprite.colour & 15;
        forEachSpriteDot(sprite, line, [&](int x) { colours[x] |= colour; });
    }
    const SpriteRows rows = spriteRows();
    if (rows.lower == nullptr) {
        uint16_t palette[16];
        std::memcpy(palette, vdp.drawPalette, sizeof palette);
        for (int x = first; x < end; ++x)
            if (colours[x]) rows.upper[x] = palette[colours[x]];
    } else {
        uint32_t palette[16];
        std::memcpy(palette, vdp.drawPalette2, sizeof palette);
        for (int x = first; x < end; ++x)
            if (colours[x]) putWideDot(rows, x, palette[colours[x]]);
    }
}

}  // namespace

void drawSprites(const SpriteLine& line) {
    if (line.count == 0) return;
    keepLineBackground();
    // The dots the sprites can reach: a line usually holds a few narrow sprites.
    const int width = line.patternDots * line.magnify;
    int first = kSpriteLineDots, end = 0;
    for (int i = 0; i < line.count; ++i) {
        first = std::min(first, std::max(0, int{line.sprites[i].x}));
        end = std::max(end, std::min(kSpriteLineDots, line.sprites[i].x + width));
    }
    noteSpriteDots(first, end);
    if (line.spriteMode == 1)
        drawMode1Sprites(line);
    else
        drawMode2Sprites(line, first, end);
}

}  // namespace tavir
