#include "video/sprites.h"

#include <algorithm>
#include <cstring>

#include "core/settings.h"
#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/screen_renderer.h"
#include "video/sprite_scan.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kColourChange = 0x40;     // CC
constexpr uint8_t kIgnoreCollision = 0x20;  // IC

// Sprites sit in the 256-dot area after the left border; the horizontal scroll does
// not move them. Only dots `first` to `last` - 1 can carry a sprite colour.
void drawSpriteDots(const uint8_t (&colours)[kSpriteLineDots], int first, int last) {
    const int line = vdp.scanLine;
    const int left = kBorderDots + horizontalAdjust();
    if (display.displayMode == 0) {
        uint16_t* row = frameBufferRow(line - 8) + left;
        for (int x = first; x < last; ++x) {
            if (colours[x]) row[x] = vdp.drawPalette[colours[x]];
        }
        return;
    }
    uint16_t* upper = frameBufferRow((line - 8) * 2) + 2 * left;
    uint16_t* lower = frameBufferRow((line - 8) * 2 + 1) + 2 * left;
    for (int x = first; x < last; ++x) {
        if (!colours[x]) continue;
        std::memcpy(upper + 2 * x, &vdp.drawPalette2[colours[x]], sizeof(uint32_t));
        std::memcpy(lower + 2 * x, &vdp.drawPalette2[colours[x]], sizeof(uint32_t));
    }
}

bool spritesDrawable() {
    return display.renderEnabled && vdp.scanLine >= 8 && vdp.scanLine <= 247 && frameBufferReady();
}

void drawSprites(const SpriteLine& line) {
    if (line.count == 0) return;
    uint8_t colours[kSpriteLineDots] = {};
    // The dots the sprites can reach: a line usually holds a few narrow sprites, and the
    // pass into the frame buffer need not cover the rest.
    const int width = 16 * line.magnify;
    int first = kSpriteLineDots, last = 0;
    // Back to front, so the lower-numbered sprite is written last and shows in front.
    for (int i = line.count - 1; i >= 0; --i) {
        const LineSprite& sprite = line.sprites[i];
        const uint8_t colour = sprite.colour & 15;
        if (line.spriteMode == 1) {
            // Colour 0 is transparent: the sprites behind it stay visible.
            if (colour == 0) continue;
            forEachSpriteDot(sprite, line, [&](int x) { colours[x] = colour; });
        } else {
            // Sprite mode 2 mixes the colour numbers of overlapping sprites.
            forEachSpriteDot(sprite, line, [&](int x) { colours[x] |= colour; });
        }
        first = std::min(first, std::max(0, int{sprite.x}));
        last = std::max(last, std::min(kSpriteLineDots, sprite.x + width));
    }
    drawSpriteDots(colours, first, last);
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
// display.pictureChanges.
struct LineReport {
    uint64_t at;
    bool collisionKnown;  // the collision test ran (S#0 had no collision standing)
    bool collided;
    int8_t leftOut;  // the fifth (ninth) sprite SpriteLimit left out, or -1
};
LineReport lineReports[256];

void reportLeftOut(int sprite) {
    uint8_t& s0 = vdp.vdpStatus[0];
    if (!(s0 & kS0FifthSprite))
        s0 = static_cast<uint8_t>((s0 & ~kS0SpriteNumber) | kS0FifthSprite | sprite);
}

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

void spriteLine(bool draw) {
    // One scan of the attribute table serves the drawing, the collision test and the
    // limit's S#0 report: the scan reads the same table each time within a line.
    draw = draw && spritesDrawable();
    const bool collide = settings.CheckSprite && collisionWanted();
    if (!draw && !collide && !settings.SpriteLimit) return;
    // Undrawn lines that nothing changed since their last scan report what that scan found
    // (a program may have read S#0 in between, which clears it but changes no sprite).
    LineReport& report = lineReports[vdp.scanLine];
    if (!draw && report.at == display.pictureChanges && (report.collisionKnown || !collide)) {
        if (collide && report.collided) vdp.vdpStatus[0] |= kS0Collision;
        if (report.leftOut >= 0) reportLeftOut(report.leftOut);
        return;
    }
    report = LineReport{display.pictureChanges, false, false, -1};
    SpriteLine line;
    if (!scanSpriteLine(line)) {
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
