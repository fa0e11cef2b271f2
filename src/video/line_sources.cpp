#include "video/line_sources.h"

#include <algorithm>

#include "video/display_area.h"
#include "video/line_pixels.h"
#include "video/pattern_tables.h"
#include "video/picture_changes.h"
#include "video/sprite_scan.h"
#include "video/vdp_state.h"
#include "video/yjk_colours.h"

namespace tavir {

namespace {

inline uint64_t patternLineChangedAt(const PatternTables& t, uint32_t colourBytes) {
    const uint64_t names = vramChangedAt(t.names, 32);
    const uint64_t patterns = vramChangedAt(t.patterns, kChangeRegionBytes);
    const uint64_t colours = colourBytes != 0 ? vramChangedAt(t.colours, colourBytes) : 0;
    return std::max(names, std::max(patterns, colours));
}

// The VRAM line a display row shows, in the modes that read one line per row.
uint64_t bitmapLineChangedAt(uint32_t page, int vramLine, uint32_t bytesPerLine) {
    return vramChangedAt(page + static_cast<uint32_t>(vramLine) * bytesPerLine, bytesPerLine);
}

}  // namespace

uint64_t backgroundChangedAt() {
    const uint8_t* r = vdp.vdpRegister;
    if (!(r[1] & kR1DisplayEnable)) return 0;  // the line is all backdrop
    const int row = displayRow(vdp.scanLine);
    if (!insideDisplay(row)) return 0;  // all border
    const int vramLine = (row + r[23]) & 0xFF;
    // The two-page scroll shows two pages side by side; its lines count as changed with
    // any VRAM write, as the text modes' do.
    const bool twoPages = r[25] & kR25TwoPages;
    const uint64_t anywhere = pictureChanges.vramAt;
    switch (vdp.screenMode) {
        case kGraphic1: return patternLineChangedAt(graphic1Tables(vramLine), 32);
        case kGraphic2:
        case kGraphic3: return patternLineChangedAt(graphic23Tables(vramLine), kChangeRegionBytes);
        case kMulticolour: return patternLineChangedAt(multicolourTables(vramLine), 0);
        case kGraphic4:
        case kGraphic5: return twoPages ? anywhere : bitmapLineChangedAt(smallBitmapPage(0), vramLine, 128);
        case kGraphic6:
        case kGraphic7:  // and the YJK screens over it
            return twoPages ? anywhere : bitmapLineChangedAt(largeBitmapPage(0), vramLine, 256);
        default: return anywhere;
    }
}

// The same for every line, so it is worked out again only after a change.
uint64_t spriteTablesChangedAt() {
    static uint64_t workedOutAt = ~uint64_t{0}, changedAt = 0;
    if (workedOutAt == pictureChanges.count) return changedAt;
    workedOutAt = pictureChanges.count;
    changedAt = 0;
    const uint8_t* r = vdp.vdpRegister;
    const int mode = spriteModeOf(vdp.screenMode);
    if (mode == 0 || !(r[1] & kR1DisplayEnable) || (r[8] & kR8SpritesOff)) return changedAt;
    const SpriteTables t = spriteTables(mode);
    // A 16 x 16 pattern numbered near the end of the table reads a few bytes past it.
    changedAt = std::max({vramChangedAt(t.attributes, 128),
                          mode == 2 ? vramChangedAt(t.colours, 512) : 0,
                          vramChangedAt(t.patterns, kChangeRegionBytes),
                          vramChangedAt(t.patterns + kChangeRegionBytes, 32)});
    return changedAt;
}

}  // namespace tavir
