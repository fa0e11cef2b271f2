// Sprites over the rendered line and the collision flag. Display row y is scan line
// 32 + y; a sprite at Y covers display rows Y + 1 onward (sprite line s = y - 1).
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

// The end marker stops the list; sprites off (R#8 SPD) or a text mode hide them all.
TEST_F(SpritesTest, EndMarkerIs208InMode1And216InMode2AndNoSpritesWhenOffOrInText) {
    setPatternRows(0, {0xFF});
    for (int mode : {1, 2}) {
        spriteMode(mode);
        const uint8_t end = mode == 1 ? 208 : 216, other = mode == 1 ? 216 : 208;
        putSprite(0, end, 0, 0, 1);
        putSprite(1, 10, 100, 0, 1);
        drawLine(43);
        EXPECT_EQ(dot(43, 100), kWhite) << mode;
        putSprite(0, other, 0, 0, 1);  // an ordinary, off-screen position here
        drawLine(43);
        EXPECT_EQ(dot(43, 100), kRed) << mode;
        setRegister(8, kR8SpritesOff);
        drawLine(43);
        EXPECT_EQ(dot(43, 100), kWhite) << mode;
        setRegister(8, 0);
        setMode(0x04, 0x10);  // Text 2
        drawLine(43);
        EXPECT_NE(dot(43, 100), kRed) << mode;
    }
}

TEST_F(SpritesTest, Y255ShowsOnTheFirstDisplayRowAndY0OnTheSecond) {
    spriteMode(2);
    setPatternRows(0, {0x80, 0x40});
    putSprite(0, 255, 50, 0, 1);
    drawLine(32);
    drawLine(33);
    EXPECT_EQ(dot(32, 50), kRed);  // pattern row 0
    EXPECT_EQ(dot(33, 51), kRed);  // pattern row 1
    putSprite(0, 0, 50, 0, 2);
    drawLine(32);
    drawLine(33);
    EXPECT_EQ(dot(32, 50), kWhite);
    EXPECT_EQ(dot(33, 50), kGreen);
}

// Sprite mode 2 ORs overlapping colours (1 OR 2 = 3); in mode 1 the lower entry is in
// front and colour 0 lets the sprite behind show through.
TEST_F(SpritesTest, OverlapsOrInSpriteMode2AndTheLowerEntryWinsInMode1) {
    setPatternRows(0, {0xFF});
    struct Case {
        int mode;
        uint8_t colour0;
        int x;
        uint16_t expected;
    };
    const Case cases[] = {
        {2, 1, 60, kRed},   {2, 1, 64, kBlue},  {2, 1, 67, kBlue},
        {2, 1, 68, kGreen}, {2, 1, 72, kWhite}, {1, 1, 64, kRed},
        {1, 1, 68, kGreen}, {1, 0, 60, kWhite}, {1, 0, 64, kGreen},
    };
    for (const Case& c : cases) {
        spriteMode(c.mode);
        putSprite(0, 10, 60, 0, c.colour0);
        putSprite(1, 10, 64, 0, 2);
        drawLine(43);
        EXPECT_EQ(dot(43, c.x), c.expected) << c.mode << " " << c.x;
    }
}

// 16 x 16 with EC: X = 20 covers dots -12 to 3, the last four from the right half
// (16 bytes further, 0x0E: dots 0-2 set); X = 0 lies entirely left of the screen.
TEST_F(SpritesTest, EarlyClockMovesTheSprite32DotsLeftAndClipsAtTheEdge) {
    spriteMode(1);
    setRegister(1, 0x40 | kR1SpriteSize16);
    setPatternRows(0, {0xFF});
    vdp.vram[kPatterns + 16] = 0x0E;  // right half, row 0
    putSprite(0, 10, 20, 0, 0x81);
    drawLine(43);
    EXPECT_EQ(dot(43, 0), kRed);
    EXPECT_EQ(dot(43, 2), kRed);
    EXPECT_EQ(dot(43, 3), kWhite);
    EXPECT_EQ(pixel(43 - 8, 32 - 5), kWhite);  // the left half does not spill into the border
    putSprite(0, 10, 0, 0, 0x81);
    drawLine(43);
    EXPECT_EQ(dot(43, 0), kWhite);
}

TEST_F(SpritesTest, MagnifiedSpritesCoverTwiceTheDotsAndLines) {
    spriteMode(2);
    setRegister(1, 0x40 | kR1SpriteMagnify);
    setPatternRows(0, {0x80, 0x40, 0, 0, 0, 0, 0, 0x01});
    putSprite(0, 10, 100, 0, 1);
    struct Case {
        int line, x;
        uint16_t expected;
    };
    const Case cases[] = {
        {43, 100, kRed},   {43, 101, kRed},   {43, 102, kWhite}, {44, 101, kRed},
        {44, 102, kWhite}, {45, 101, kWhite}, {45, 102, kRed},   {45, 103, kRed},
        {58, 114, kRed},   {58, 115, kRed},   {59, 115, kWhite},  // pattern row 7 is the sprite's
                                                                  // 16th line
    };
    for (const Case& c : cases) {
        drawLine(c.line);
        EXPECT_EQ(dot(c.line, c.x), c.expected) << c.line << " " << c.x;
    }
}

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
