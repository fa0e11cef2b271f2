#include "video/sprites.h"

#include <algorithm>
#include <cstring>

#include "core/settings.h"
#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/line_background.h"
#include "video/line_sources.h"
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

// Sprite mode 1: colour 0 is transparent, and a sprite covers those behind it, so the
// sprites go straight into the row back to front and the lower-numbered one shows.
void drawMode1Sprites(const SpriteLine& line) {
    const SpriteRows rows = spriteRows();
    for (int i = line.count - 1; i >= 0; --i) {
        const LineSprite& sprite = line.sprites[i];
        const uint8_t colour = sprite.colour & 15;
        if (colour == 0) continue;
        if (rows.lower == nullptr) {
            const uint16_t pixel = vdp.drawPalette[colour];
            forEachSpriteDot(sprite, line, [&rows, pixel](int x) { rows.upper[x] = pixel; });
        } else {
            const uint32_t pixels = vdp.drawPalette2[colour];
            forEachSpriteDot(sprite, line, [&rows, pixels](int x) { putWideDot(rows, x, pixels); });
        }
    }
}

// Sprite mode 2 mixes the colour numbers of overlapping sprites, so the line's colours
// are gathered first. Only dots `first` to `last` - 1 can carry one: a line usually
// holds a few narrow sprites, and the pass into the row need not cover the rest.
void drawMode2Sprites(const SpriteLine& line) {
    uint8_t colours[kSpriteLineDots] = {};
    const int width = 16 * line.magnify;
    int first = kSpriteLineDots, last = 0;
    for (int i = line.count - 1; i >= 0; --i) {
        const LineSprite& sprite = line.sprites[i];
        const uint8_t colour = sprite.colour & 15;
        forEachSpriteDot(sprite, line, [&](int x) { colours[x] |= colour; });
        first = std::min(first, std::max(0, int{sprite.x}));
        last = std::max(last, std::min(kSpriteLineDots, sprite.x + width));
    }
    const SpriteRows rows = spriteRows();
    if (rows.lower == nullptr) {
        uint16_t palette[16];
        std::memcpy(palette, vdp.drawPalette, sizeof palette);
        for (int x = first; x < last; ++x)
            if (colours[x]) rows.upper[x] = palette[colours[x]];
    } else {
        uint32_t palette[16];
        std::memcpy(palette, vdp.drawPalette2, sizeof palette);
        for (int x = first; x < last; ++x)
            if (colours[x]) putWideDot(rows, x, palette[colours[x]]);
    }
}

void drawSprites(const SpriteLine& line) {
    if (line.count == 0) return;
    keepLineBackground();
    if (line.spriteMode == 1)
        drawMode1Sprites(line);
    else
        drawMode2Sprites(line);
}

void testCollision(const SpriteLine& line) {
    if (line.count < 2) return;  // a collision takes two sprites
    bool taken[kSpriteLineDots] = {};
    for (int i = 0; i < line.count; ++i) {
        const LineSprite& sprite = line.sprites[i];
        if ((sprite.colour & 15) == 0) continue;
        if (line.spriteMode == 2 && (sprite.colour & (kColourChange | kIgnoreCollision))) continue;
        bool collided = false;
        forEachSpriteDot(sprite, line, [&](int x) {
            if (taken[x]) collided = true;
            taken[x] = true;
        });
        if (collided) {
            vdp.vdpStatus[0] |= kS0Collision;
            return;
        }
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
