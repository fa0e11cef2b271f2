// Sprites over the rendered line and the collision flag. Display row y is scan line
// 32 + y; a sprite at Y covers display rows Y + 1 onward (sprite line s = y - 1).
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "video/screen_renderer.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint32_t kAttributes1 = 0x1B00;  // R#5 = 0x36
constexpr uint32_t kAttributes2 = 0x7600;  // R#5 = 0xEF: (0xEF OR 4) AND 0xFC = 0xEC
constexpr uint32_t kColours2 = kAttributes2 - 512;
constexpr uint32_t kPatterns = 0x3800;  // R#6 = 7

class SpritesTest : public VDPTest {
protected:
    void SetUp() override {
        VDPTest::SetUp();
        useColours();
    }

    // Entry 1 red, 2 green, 3 blue, 4 white; backdrop 4; patterns at 0x3800.
    static void useColours() {
        setColour(1, 7, 0, 0);
        setColour(2, 0, 7, 0);
        setColour(3, 0, 0, 7);
        setColour(4, 7, 7, 7);
        setRegister(7, 0x04);
        setRegister(6, 0x07);
        setRegister(11, 0x00);
    }

    // Graphic 1: sprite mode 1, background all colour 0 (the white backdrop).
    void spriteMode1() {
        setRegister(1, 0x40);
        setRegister(0, 0x00);
        setRegister(5, 0x36);
        attributes_ = kAttributes1;
    }

    // Graphic 4: sprite mode 2, page 0 all colour 0.
    void spriteMode2() {
        setRegister(1, 0x40);
        setRegister(0, 0x06);
        setRegister(2, 0x1F);
        setRegister(5, 0xEF);
        attributes_ = kAttributes2;
    }

    // In sprite mode 2 `colour` goes to all 16 colour-table lines of the sprite.
    void putSprite(int i, uint8_t y, uint8_t x, uint8_t pattern, uint8_t colour) {
        uint8_t* entry = vdp.vram + attributes_ + i * 4;
        entry[0] = y;
        entry[1] = x;
        entry[2] = pattern;
        entry[3] = colour;
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

    static uint16_t pixel(int row, int x) { return frameBufferRow(row)[x]; }
    static uint16_t dot(int line, int x) { return pixel(line - 8, 32 + x); }

    uint32_t attributes_ = kAttributes1;
};

TEST_F(SpritesTest, EndMarkerIs208InSpriteMode1And216InSpriteMode2) {
    spriteMode1();
    setPatternRows(0, {0xFF});
    putSprite(0, 208, 0, 0, 1);
    putSprite(1, 10, 100, 0, 1);
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kWhite);
    putSprite(0, 216, 0, 0, 1);  // an ordinary, off-screen position here
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kRed);

    spriteMode2();
    putSprite(0, 216, 0, 0, 1);
    putSprite(1, 10, 100, 0, 1);
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kWhite);
    putSprite(0, 208, 0, 0, 1);
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kRed);
}

TEST_F(SpritesTest, Y255ShowsOnTheFirstDisplayRowAndY0OnTheSecond) {
    spriteMode2();
    setPatternRows(0, {0x80, 0x40});
    putSprite(0, 255, 50, 0, 1);
    drawLine(32);
    drawLine(33);
    EXPECT_EQ(dot(32, 50), kRed);  // pattern row 0
    EXPECT_EQ(dot(32, 51), kWhite);
    EXPECT_EQ(dot(33, 51), kRed);  // pattern row 1

    putSprite(0, 0, 50, 0, 2);
    drawLine(32);
    drawLine(33);
    EXPECT_EQ(dot(32, 50), kWhite);
    EXPECT_EQ(dot(33, 50), kGreen);
}

TEST_F(SpritesTest, OverlappingSpriteMode2SpritesOrTheirColours) {
    spriteMode2();
    setPatternRows(0, {0xFF});
    putSprite(0, 10, 60, 0, 1);
    putSprite(1, 10, 64, 0, 2);
    drawLine(43);
    EXPECT_EQ(dot(43, 60), kRed);
    EXPECT_EQ(dot(43, 64), kBlue);  // 1 OR 2 = 3
    EXPECT_EQ(dot(43, 67), kBlue);
    EXPECT_EQ(dot(43, 68), kGreen);
    EXPECT_EQ(dot(43, 71), kGreen);
    EXPECT_EQ(dot(43, 72), kWhite);
}

TEST_F(SpritesTest, InSpriteMode1TheLowerEntryIsInFrontAndColour0IsSeeThrough) {
    spriteMode1();
    setPatternRows(0, {0xFF});
    putSprite(0, 10, 60, 0, 1);
    putSprite(1, 10, 64, 0, 2);
    drawLine(43);
    EXPECT_EQ(dot(43, 64), kRed);
    EXPECT_EQ(dot(43, 68), kGreen);

    putSprite(0, 10, 60, 0, 0);  // transparent: the sprite behind shows through
    drawLine(43);
    EXPECT_EQ(dot(43, 60), kWhite);
    EXPECT_EQ(dot(43, 64), kGreen);
}

TEST_F(SpritesTest, EarlyClockMovesTheSprite32DotsLeftAndClipsAtTheEdge) {
    spriteMode1();
    setRegister(1, 0x40 | kR1SpriteSize16);
    setPatternRows(0, {0xFF});
    vdp.vram[kPatterns + 16] = 0xFF;  // right half, row 0
    putSprite(0, 10, 20, 0, 0x81);    // EC: dots -12 to 3
    drawLine(43);
    EXPECT_EQ(dot(43, 0), kRed);
    EXPECT_EQ(dot(43, 3), kRed);
    EXPECT_EQ(dot(43, 4), kWhite);
    EXPECT_EQ(pixel(43 - 8, 31), kWhite);  // nothing spills into the border

    putSprite(0, 10, 0, 0, 0x81);  // entirely left of the screen
    drawLine(43);
    EXPECT_EQ(dot(43, 0), kWhite);
}

TEST_F(SpritesTest, SixteenDotSpritesTakeTheRightHalf16BytesFurther) {
    spriteMode1();
    setRegister(1, 0x40 | kR1SpriteSize16);
    setPatternRows(4, {0x01});
    vdp.vram[kPatterns + 4 * 8 + 16] = 0x80;
    putSprite(0, 10, 100, 4, 3);
    drawLine(43);
    EXPECT_EQ(dot(43, 106), kWhite);
    EXPECT_EQ(dot(43, 107), kBlue);
    EXPECT_EQ(dot(43, 108), kBlue);
    EXPECT_EQ(dot(43, 109), kWhite);
}

TEST_F(SpritesTest, MagnifiedSpritesCoverTwiceTheDotsAndLines) {
    spriteMode2();
    setRegister(1, 0x40 | kR1SpriteMagnify);
    setPatternRows(0, {0x80, 0x40, 0, 0, 0, 0, 0, 0x01});
    putSprite(0, 10, 100, 0, 1);
    for (int line : {43, 44}) {  // pattern row 0 on two lines
        drawLine(line);
        EXPECT_EQ(dot(line, 100), kRed) << line;
        EXPECT_EQ(dot(line, 101), kRed) << line;
        EXPECT_EQ(dot(line, 102), kWhite) << line;
    }
    drawLine(45);
    EXPECT_EQ(dot(45, 101), kWhite);
    EXPECT_EQ(dot(45, 102), kRed);
    EXPECT_EQ(dot(45, 103), kRed);
    drawLine(58);  // pattern row 7, the sprite's 16th line
    EXPECT_EQ(dot(58, 114), kRed);
    EXPECT_EQ(dot(58, 115), kRed);
    drawLine(59);
    EXPECT_EQ(dot(59, 115), kWhite);
}

TEST_F(SpritesTest, SpritesIgnoreTheHorizontalScrollButFollowTheAdjust) {
    spriteMode2();
    setPatternRows(0, {0x80});
    putSprite(0, 10, 100, 0, 1);
    setRegister(26, 2);
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kRed);
    setRegister(26, 0);
    setRegister(18, 0x03);  // h = -3
    drawLine(43);
    EXPECT_EQ(pixel(35, 29 + 100), kRed);
}

TEST_F(SpritesTest, NoSpritesInTextModesWithSpritesOffOrOutsideTheDisplay) {
    spriteMode2();
    setPatternRows(0, {0xFF});
    putSprite(0, 10, 100, 0, 1);
    setRegister(8, kR8SpritesOff);
    drawLine(43);
    EXPECT_EQ(dot(43, 100), kWhite);
    setRegister(8, 0);

    setRegister(0, 0x04);
    setRegister(1, 0x50);  // Text 2
    vdp.vram[kAttributes2] = 10;
    drawLine(43);
    EXPECT_NE(dot(43, 100), kRed);

    spriteMode2();
    putSprite(0, 200, 100, 0, 1);  // covers sprite line 200, display row 201: border
    drawLine(32 + 201);
    EXPECT_EQ(dot(32 + 201, 100), kWhite);
}

TEST_F(SpritesTest, TheLargePictureDrawsSpriteDotsAsTwoByTwoBlocks) {
    startVideo(1);
    useColours();
    spriteMode2();
    setPatternRows(0, {0x80});
    putSprite(0, 10, 100, 0, 3);
    drawLine(43);
    for (int row : {70, 71}) {
        EXPECT_EQ(pixel(row, 2 * (32 + 100)), kBlue);
        EXPECT_EQ(pixel(row, 2 * (32 + 100) + 1), kBlue);
        EXPECT_EQ(pixel(row, 2 * (32 + 101)), kWhite);
    }
}

TEST_F(SpritesTest, TwoColouredSpritesCollideOnTheirFirstCommonLine) {
    spriteMode1();
    setPatternRows(0, {0x00, 0x18});
    putSprite(0, 10, 100, 0, 1);
    putSprite(1, 10, 100, 0, 2);
    display.renderEnabled = 0;  // the test runs on frames that are not drawn as well
    EXPECT_FALSE(collidesOn(43));
    EXPECT_TRUE(collidesOn(44));
}

TEST_F(SpritesTest, TransparentAndExcludedSpritesNeverCollide) {
    spriteMode1();
    setPatternRows(0, {0xFF});
    putSprite(0, 10, 100, 0, 0);
    putSprite(1, 10, 100, 0, 2);
    EXPECT_FALSE(collidesOn(43));

    spriteMode2();
    putSprite(0, 10, 100, 0, 1);
    putSprite(1, 10, 100, 0, 0x42);  // CC
    EXPECT_FALSE(collidesOn(43));
    putSprite(1, 10, 100, 0, 0x22);  // IC
    EXPECT_FALSE(collidesOn(43));
    putSprite(1, 10, 104, 0, 0x02);
    EXPECT_TRUE(collidesOn(43));
}

TEST_F(SpritesTest, CollisionNeedsTheDisplayOnAndSpritesEnabled) {
    spriteMode2();
    setPatternRows(0, {0xFF});
    putSprite(0, 10, 100, 0, 1);
    putSprite(1, 10, 100, 0, 2);
    setRegister(8, kR8SpritesOff);
    EXPECT_FALSE(collidesOn(43));
    setRegister(8, 0);
    setRegister(1, 0x00);
    EXPECT_FALSE(collidesOn(43));
    setRegister(1, 0x40);
    EXPECT_TRUE(collidesOn(43));
}

}  // namespace
}  // namespace tavir::testing
