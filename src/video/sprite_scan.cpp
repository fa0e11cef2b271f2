#include "video/sprite_scan.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/settings.h"
#include "video/display_area.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kEndMarkerMode1 = 208;
constexpr uint8_t kEndMarkerMode2 = 216;
constexpr uint8_t kEarlyClock = 0x80;  // EC: the sprite starts 32 dots further left

uint8_t vramByte(uint32_t address) {
    return vdp.vram[address & kVRAMMask];
}

// Bit i of `onRow`: sprite i's Y puts it on `spriteRow` (rows below Y are counted modulo
// 256, so a sprite near the bottom wraps onto the top); bit i of `ends`: its Y is the end
// marker.
#if defined(__SSE2__)
// Four attribute entries per vector, Y in the low byte of each 32-bit lane.
void rowMasks(const uint8_t* table, int spriteRow, int height, uint8_t endMarker,
              uint32_t& onRow, uint32_t& ends) {
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    const __m128i row = _mm_set1_epi32(spriteRow);
    const __m128i rows = _mm_set1_epi32(height);
    const __m128i marker = _mm_set1_epi32(endMarker);
    __m128i hit[8], end[8];
    for (int v = 0; v < 8; ++v) {
        __m128i entries;
        std::memcpy(&entries, table + 16 * v, sizeof entries);
        const __m128i y = _mm_and_si128(entries, lowByte);
        const __m128i below = _mm_and_si128(_mm_sub_epi32(row, y), lowByte);
        hit[v] = _mm_cmplt_epi32(below, rows);
        end[v] = _mm_cmpeq_epi32(y, marker);
    }
    const auto gather = [](const __m128i (&m)[8]) {
        const __m128i low = _mm_packs_epi16(_mm_packs_epi32(m[0], m[1]), _mm_packs_epi32(m[2], m[3]));
        const __m128i high = _mm_packs_epi16(_mm_packs_epi32(m[4], m[5]), _mm_packs_epi32(m[6], m[7]));
        return static_cast<uint32_t>(_mm_movemask_epi8(low)) |
               static_cast<uint32_t>(_mm_movemask_epi8(high)) << 16;
    };
    onRow = gather(hit);
    ends = gather(end);
}
#else
void rowMasks(const uint8_t* table, int spriteRow, int height, uint8_t endMarker,
              uint32_t& onRow, uint32_t& ends) {
    onRow = ends = 0;
    for (uint32_t i = 0; i < kSpriteCount; ++i) {
        const uint8_t y = table[i * 4];
        onRow |= static_cast<uint32_t>(((spriteRow - y) & 0xFF) < height) << i;
        ends |= static_cast<uint32_t>(y == endMarker) << i;
    }
}
#endif

}  // namespace

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

SpriteTables spriteTables(int spriteMode) {
    const uint8_t* r = vdp.vdpRegister;
    static_assert(kVRAMSize == 1024 * 128,
                  "the attribute table's highest place ends at the top of VRAM");
    // Sprite mode 2 forces R#5 bit 2 on and takes bits 0-1 as 0.
    const uint32_t attributes =
        ((r[11] & 3u) * 256 + (spriteMode == 2 ? ((r[5] | 4u) & 0xFC) : r[5])) * 128;
    // The colour table (mode 2 only) is the 512 bytes below: at least 0 by the OR of 4.
    return {attributes, attributes - 512, (r[6] & 0x3Fu) * 2048};
}

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
    const SpriteTables tables = spriteTables(line.spriteMode);
    const uint8_t endMarker = mode2 ? kEndMarkerMode2 : kEndMarkerMode1;

    // With the hardware's limit a line shows only its first 4 (mode 1) or 8 (mode 2)
    // sprites; S#0 keeps the number of the first one left out until it is read.
    const int limit = settings.SpriteLimit ? (mode2 ? 8 : 4) : kSpriteCount;
    line.count = 0;
    line.leftOut = -1;
    // The 128-byte attribute table ends at the top of VRAM at the highest, so it is read
    // in place. All 32 Y bytes are tested at once into bit masks of the sprites on this
    // row and of end markers: most lines have few sprites or none.
    const uint8_t* table = vdp.vram + tables.attributes;
    uint32_t onRow = 0, ends = 0;
    rowMasks(table, spriteRow, height, endMarker, onRow, ends);
    // The first end marker hides itself and every sprite after it.
    if (ends != 0) onRow &= (1u << std::countr_zero(ends)) - 1;
    for (; onRow != 0; onRow &= onRow - 1) {
        const uint32_t i = static_cast<uint32_t>(std::countr_zero(onRow));
        const uint8_t* entry = table + i * 4;
        if (line.count == limit) {
            line.leftOut = static_cast<int>(i);
            uint8_t& s0 = vdp.vdpStatus[0];
            if (!(s0 & kS0FifthSprite))
                s0 = static_cast<uint8_t>((s0 & ~kS0SpriteNumber) | kS0FifthSprite | i);
            break;
        }
        const int k = ((spriteRow - entry[0]) & 0xFF) >> (line.magnify - 1);  // magnify is 1 or 2
        const uint32_t pattern = tables.patterns + entry[2] * 8u + k;
        uint16_t bits = static_cast<uint16_t>(vramByte(pattern) << 8);
        if (line.patternDots == 16) bits |= vramByte(pattern + 16);  // right half
        const uint8_t colour = mode2 ? vramByte(tables.colours + i * 16 + k) : entry[3];
        LineSprite& s = line.sprites[line.count++];
        s.pattern = bits;
        s.x = static_cast<int16_t>(entry[1] - ((colour & kEarlyClock) ? 32 : 0));
        s.colour = colour;
    }
    return true;
}

}  // namespace tavir
