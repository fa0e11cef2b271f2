// Sprite collisions and the sprite limit's report in S#0 (the golden runs of our sprites
// cartridge show the drawing). Display row y is scan line 32 + y; a sprite at Y covers
// display rows Y + 1 onward.
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/settings.h"
#include "video/screen_renderer.h"
#include "video/vdp_ports.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint32_t kAttributes1 = 0x1B00;  // R#5 = 0x36
constexpr uint32_t kAttributes2 = 0x7600;  // R#5 = 0xEF: (0xEF OR 4) AND 0xFC = 0xEC
constexpr uint32_t kColours2 = kAttributes2 - 512;
constexpr uint32_t kPatterns = 0x3800;  // R#6 = 7

class SpritesTest : public VDPTest {
protected:
    // Patterns at 0x3800.
    void SetUp() override {
        startVideo(0, true);
        setRegister(6, 0x07);
    }

    // 1: Graphic 1, sprite mode 1; 2: Graphic 4, sprite mode 2. The background is colour 0,
    // the white backdrop.
    void spriteMode(int mode) {
        setMode(mode == 1 ? 0x00 : 0x06, 0);
        setRegister(2, mode == 1 ? 0x00 : 0x1F);
        setRegister(5, mode == 1 ? 0x36 : 0xEF);
        attributes_ = mode == 1 ? kAttributes1 : kAttributes2;
    }

    // In sprite mode 2 `colour` goes to all 16 colour-table lines of the sprite.
    void putSprite(int i, uint8_t y, uint8_t x, uint8_t pattern, uint8_t colour) {
        const uint8_t entry[] = {y, x, pattern, colour};
        std::copy_n(entry, 4, vdp.vram + attributes_ + i * 4);
        if (attributes_ == kAttributes2) std::fill_n(vdp.vram + kColours2 + i * 16, 16, colour);
    }

    static void setPatternRows(uint8_t pattern, std::initializer_list<uint8_t> rows) {
        std::copy(rows.begin(), rows.end(), vdp.vram + kPatterns + pattern * 8);
    }

    static void drawLine(int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
        renderSpriteLine();
    }

    static bool collidesOn(int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        checkSpriteCollision();
        return (vdp.vdpStatus[0] & kS0Collision) != 0;
    }

    static uint16_t dot(int line, int x) { return pixel(line - 8, 32 + x); }

    uint32_t attributes_ = kAttributes1;
};

// Pattern row 1 has dots 3 and 4: sprite 1 at X + 1 overlaps one dot, at X + 4 none.
TEST_F(SpritesTest, CollisionNeedsTwoVisibleDotsTheDisplayOnAndSpritesEnabled) {
    setPatternRows(0, {0x00, 0x18});
    struct Case {
        int mode;
        uint8_t colour0, colour1, x1, r1, r8;
        int line;
        bool collides;
    };
    const Case cases[] = {
        {1, 1, 2, 100, 0x40, 0, 43, false},    {1, 1, 2, 100, 0x40, 0, 44, true},
        {1, 0, 2, 100, 0x40, 0, 44, false},  // transparent
        {2, 1, 2, 100, 0x40, 0, 44, true},     {2, 1, 0x42, 100, 0x40, 0, 44, false},  // CC
        {2, 1, 0x22, 100, 0x40, 0, 44, false},                                         // IC
        {2, 1, 2, 104, 0x40, 0, 44, false},    {2, 1, 2, 101, 0x40, 0, 44, true},
        {2, 1, 2, 100, 0x00, 0, 44, false},    {2, 1, 2, 100, 0x40, kR8SpritesOff, 44, false},
    };
    display.renderEnabled = 0;  // the test runs on frames that are not drawn as well
    for (const Case& c : cases) {
        spriteMode(c.mode);
        setRegister(1, c.r1);
        setRegister(8, c.r8);
        putSprite(0, 10, 100, 0, c.colour0);
        putSprite(1, 10, c.x1, 0, c.colour1);
        vdp.vdpStatus[0] = 0;
        EXPECT_EQ(collidesOn(c.line), c.collides) << &c - cases;
    }
}

// With msx.cfg's SpriteLimit a line of ten sprites shows 4 (mode 1) or 8 (mode 2), and S#0
// holds 5S and the first one left out until it is read; without the key all ten show.
TEST_F(SpritesTest, SpriteLimitDropsLaterSpritesOfALineAndReportsTheFirst) {
    setPatternRows(0, {0x80});
    for (int mode = 1, limit = 0; mode <= 2; limit = !limit, mode += !limit) {
        settings.SpriteLimit = static_cast<uint8_t>(limit);
        spriteMode(mode);
        vdp.vdpStatus[0] = 0x1F;
        for (int i = 0; i < 11; ++i) putSprite(i, i < 10 ? 10 : 216, static_cast<uint8_t>(20 * i), 0, 1);
        drawLine(43);
        const int shown = limit ? 4 * mode : 10;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(dot(43, 20 * i), i < shown ? kRed : kWhite) << mode << i;
        EXPECT_EQ(readVDPStatus(), limit ? 0x40 | shown : 0x1F) << mode;  // R#15 is 0
        EXPECT_EQ(vdp.vdpStatus[0] & 0x40, 0);
    }
}

}  // namespace
}  // namespace tavir::testing
