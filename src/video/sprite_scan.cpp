#include "video/sprite_scan.h"

#include "core/settings.h"
#include "video/display_area.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kEndMarkerMode1 = 208;
constexpr uint8_t kEndMarkerMode2 = 216;
constexpr uint8_t kEarlyClock = 0x80;  // EC: the sprite starts 32 dots further left

int spriteModeOf(uint8_t screenMode) {
    switch (screenMode) {
        case kGraphic1:
        case kGraphic2:
        case kMulticolour: return 1;
        case kGraphic3:
        case kGraphic4:
        case kGraphic5:
        case kGraphic6:
        case kGraphic7: return 2;
        default: return 0;  // the text modes have no sprites
    }
}

uint8_t vramByte(uint32_t address) {
    return vdp.vram[address & kVRAMMask];
}

}  // namespace

bool scanSpriteLine(SpriteLine& line) {
    const uint8_t* r = vdp.vdpRegister;
    if (vdp.vram == nullptr) return false;
    if (!(r[1] & kR1DisplayEnable) || (r[8] & kR8SpritesOff)) return false;
    line.spriteMode = spriteModeOf(vdp.screenMode);
    if (line.spriteMode == 0) return false;
    const int row = displayRow(vdp.scanLine);
    if (!insideDisplay(row)) return false;

    // Sprites are one line late: Y = 0 shows from display row 1, Y = 255 on row 0.
    const int spriteRow = (row - 1 + r[23]) & 0xFF;
    line.patternDots = (r[1] & kR1SpriteSize16) ? 16 : 8;
    line.magnify = (r[1] & kR1SpriteMagnify) ? 2 : 1;
    const int height = line.patternDots * line.magnify;

    const bool mode2 = line.spriteMode == 2;
    static_assert(kVRAMSize == 1024 * 128,
                  "the attribute table's highest place ends at the top of VRAM");
    const uint32_t attributes = ((r[11] & 3u) * 256 + (mode2 ? ((r[5] | 4u) & 0xFC) : r[5])) * 128;
    const uint32_t colours = attributes - 512;  // mode 2 only; at least 0 by the OR of 4
    const uint32_t patterns = (r[6] & 0x3Fu) * 2048;
    const uint8_t endMarker = mode2 ? kEndMarkerMode2 : kEndMarkerMode1;

    // With the hardware's limit a line shows only its first 4 (mode 1) or 8 (mode 2)
    // sprites; S#0 keeps the number of the first one left out until it is read.
    const int limit = settings.SpriteLimit ? (mode2 ? 8 : 4) : kSpriteCount;
    line.count = 0;
    // The 128-byte attribute table ends at the top of VRAM at the highest, so it is read
    // in place.
    const uint8_t* table = vdp.vram + attributes;
    for (uint32_t i = 0; i < kSpriteCount; ++i) {
        const uint8_t* entry = table + i * 4;
        const uint8_t y = entry[0];
        if (y == endMarker) break;
        // Rows below Y, counted modulo 256: a sprite near the bottom wraps onto the top.
        const int d = (spriteRow - y) & 0xFF;
        if (d >= height) continue;
        if (line.count == limit) {
            uint8_t& s0 = vdp.vdpStatus[0];
            if (!(s0 & kS0FifthSprite))
                s0 = static_cast<uint8_t>((s0 & ~kS0SpriteNumber) | kS0FifthSprite | i);
            break;
        }
        const int k = d / line.magnify;
        const uint32_t pattern = patterns + entry[2] * 8u + k;
        uint16_t bits = static_cast<uint16_t>(vramByte(pattern) << 8);
        if (line.patternDots == 16) bits |= vramByte(pattern + 16);  // right half
        const uint8_t colour = mode2 ? vramByte(colours + i * 16 + k) : entry[3];
        LineSprite& s = line.sprites[line.count++];
        s.pattern = bits;
        s.x = static_cast<int16_t>(entry[1] - ((colour & kEarlyClock) ? 32 : 0));
        s.colour = colour;
    }
    return true;
}

}  // namespace tavir
