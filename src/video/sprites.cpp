#include "video/sprites.h"

#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/line_sources.h"
#include "video/screen_renderer.h"
#include "video/sprite_collision.h"
#include "video/sprite_drawing.h"
#include "video/sprite_scan.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

bool spritesDrawable() {
    return display.renderEnabled && vdp.scanLine >= 8 && vdp.scanLine <= 247 && frameBufferReady();
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
