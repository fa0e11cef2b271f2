#include "video/sprites.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/settings.h"
#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/line_background.h"
#include "video/line_sources.h"
#include "video/pattern_bits.h"
#include "video/screen_renderer.h"
#include "video/sprite_scan.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kColourChange = 0x40;     // CC
constexpr uint8_t kIgnoreCollision = 0x20;  // IC

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

bool spritesDrawable() {
    return display.renderEnabled && vdp.scanLine >= 8 && vdp.scanLine <= 247 && frameBufferReady();
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

bool collisionWanted() {
    return !(vdp.vdpStatus[0] & kS0Collision);  // otherwise already reported
}

// What the last scan of a scan line found for the status register, and at which count of
// pictureChanges.
struct LineReport {
    uint64_t at;
    bool collisionKnown;  // the collision test ran (S#0 had no collision standing)
    bool collided;
    int8_t leftOut;  // the fifth (ninth) sprite SpriteLimit left out, or -1
};
LineReport lineReports[256];

// Per scan line: sprites were drawn over it the last time it was drawn.
bool drawnWithSprites[256];

void reportLeftOut(int sprite) {
    uint8_t& s0 = vdp.vdpStatus[0];
    if (!(s0 & kS0FifthSprite))
        s0 = static_cast<uint8_t>((s0 & ~kS0SpriteNumber) | kS0FifthSprite | sprite);
}

// The scan of `vdp.scanLine` that spritesOnLine made, for spriteLine to use: nothing
// runs between the two, and spriteLine drops it.
struct LineScan {
    int scanLine;  // -1: none
    bool scanned;
    SpriteLine line;
};
LineScan lineScan = {-1, false, {}};

}  // namespace

void renderSpriteLine() {
    if (!spritesDrawable()) return;
    SpriteLine line;
    if (scanSpriteLine(line)) drawSprites(line);
}

void checkSpriteCollision() {
    if (!collisionWanted()) return;
    SpriteLine line;
    if (scanSpriteLine(line)) testCollision(line);
}

bool spritesOnLine() {
    if (drawnWithSprites[vdp.scanLine]) return true;
    lineScan.scanLine = vdp.scanLine;
    lineScan.scanned = scanSpriteLine(lineScan.line);
    return lineScan.scanned && lineScan.line.count > 0;
}

void spriteLine(bool draw) {
    // One scan of the attribute table serves the drawing, the collision test and the
    // limit's S#0 report: the scan reads the same table each time within a line.
    const bool scannedAlready = lineScan.scanLine == vdp.scanLine;
    lineScan.scanLine = -1;
    draw = draw && spritesDrawable();
    const bool collide = settings.CheckSprite && collisionWanted();
    if (!draw && !collide && !settings.SpriteLimit) return;
    // Undrawn lines that nothing changed since their last scan report what that scan found
    // (a program may have read S#0 in between, which clears it but changes no sprite).
    LineReport& report = lineReports[vdp.scanLine];
    const bool sameTables =
        report.at == pictureChanges.count || !spriteTablesChangedSince(report.at);
    if (!draw && sameTables && (report.collisionKnown || !collide)) {
        if (collide && report.collided) vdp.vdpStatus[0] |= kS0Collision;
        if (report.leftOut >= 0) reportLeftOut(report.leftOut);
        return;
    }
    report = LineReport{pictureChanges.count, false, false, -1};
    SpriteLine& line = lineScan.line;
    const bool scanned = scannedAlready ? lineScan.scanned : scanSpriteLine(line);
    if (draw) drawnWithSprites[vdp.scanLine] = scanned && line.count > 0;
    if (!scanned) {
        report.collisionKnown = true;
        return;
    }
    report.leftOut = static_cast<int8_t>(line.leftOut);
    if (draw) drawSprites(line);
    if (collide) {
        testCollision(line);
        report.collisionKnown = true;
        report.collided = (vdp.vdpStatus[0] & kS0Collision) != 0;
    }
}

}  // namespace tavir
