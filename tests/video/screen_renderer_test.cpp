// The line renderer on small VRAM set-ups. Expected pixels follow from the VDP's rules:
// borders 32 + h and 32 - h wide, display row L - 32 + va (+10 with LN), VRAM line
// (row + R#23) AND 255, the horizontal rotation, and the pixel conversions.
#include "video/screen_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "video/sprites.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint16_t kYellow = kRed | kGreen;
constexpr uint16_t kStale = 0x1234;  // what a row held before

class ScreenRendererTest : public VDPTest {
protected:
    void SetUp() override {
        VDPTest::SetUp();
        useColours();
    }

    // Entry 1 red, 2 green, 3 blue, 4 white, 5 yellow; backdrop 4.
    void useColours() {
        setColour(1, 7, 0, 0);
        setColour(2, 0, 7, 0);
        setColour(3, 0, 0, 7);
        setColour(4, 7, 7, 7);
        setColour(5, 7, 7, 0);
        setRegister(7, 0x04);
    }

    static void graphic4() {
        setRegister(1, 0x40);
        setRegister(0, 0x06);
        setRegister(2, 0x1F);  // page 0
    }

    static void fillVRAM(uint32_t address, int count, uint8_t value) {
        std::fill_n(vdp.vram + address, count, value);
    }

    static void drawLine(int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
    }

    static uint16_t pixel(int row, int x) { return frameBufferRow(row)[x]; }

    static void fillFrameBuffer(uint16_t value) {
        for (int row = 0; row < frameBuffer.height; ++row) {
            std::fill_n(frameBufferRow(row), frameBuffer.width, value);
        }
    }
};

TEST_F(ScreenRendererTest, SideBordersFollowTheHorizontalAdjust) {
    graphic4();
    fillVRAM(0, 128, 0x11);  // VRAM line 0 all red
    struct Case {
        uint8_t r18;
        int left, right;
    };
    for (const Case c : {Case{0x00, 32, 32}, Case{0x07, 25, 39}, Case{0x08, 40, 24}}) {
        setRegister(18, c.r18);
        drawLine(32);  // display row 0, frame row 24
        EXPECT_EQ(pixel(24, 0), kWhite);
        EXPECT_EQ(pixel(24, c.left - 1), kWhite) << "R#18 " << int(c.r18);
        EXPECT_EQ(pixel(24, c.left), kRed) << "R#18 " << int(c.r18);
        EXPECT_EQ(pixel(24, 319 - c.right), kRed) << "R#18 " << int(c.r18);
        EXPECT_EQ(pixel(24, 320 - c.right), kWhite) << "R#18 " << int(c.r18);
        EXPECT_EQ(pixel(24, 319), kWhite);
    }
}

TEST_F(ScreenRendererTest, HorizontalScrollRotatesThePictureInsideTheActiveArea) {
    graphic4();
    vdp.vram[0] = 0x12;    // dots 0, 1: red, green
    vdp.vram[4] = 0x35;    // dots 8, 9: blue, yellow
    vdp.vram[127] = 0x23;  // dots 254, 255: green, blue
    setRegister(27, 1);    // one dot right
    drawLine(32);
    EXPECT_EQ(pixel(24, 31), kWhite);
    EXPECT_EQ(pixel(24, 32), kBlue);  // dot 255 came round to the left edge
    EXPECT_EQ(pixel(24, 33), kRed);
    EXPECT_EQ(pixel(24, 34), kGreen);
    EXPECT_EQ(pixel(24, 287), kGreen);  // dot 254
    EXPECT_EQ(pixel(24, 288), kWhite);

    setRegister(27, 0);
    setRegister(26, 1);  // eight dots left
    drawLine(32);
    EXPECT_EQ(pixel(24, 32), kBlue);  // dot 8
    EXPECT_EQ(pixel(24, 33), kYellow);
    EXPECT_EQ(pixel(24, 32 + 248), kRed);  // dot 0
    EXPECT_EQ(pixel(24, 31), kWhite);
}

TEST_F(ScreenRendererTest, TwoHundredTwelveLinesStartTenLinesEarlier) {
    graphic4();
    setRegister(9, kR9Lines212);
    fillVRAM(0 * 128, 128, 0x11);
    fillVRAM(211 * 128, 128, 0x22);
    fillVRAM(212 * 128, 128, 0x33);
    drawLine(21);
    drawLine(22);
    drawLine(233);
    drawLine(234);
    EXPECT_EQ(pixel(21 - 8, 100), kWhite);
    EXPECT_EQ(pixel(22 - 8, 100), kRed);
    EXPECT_EQ(pixel(233 - 8, 100), kGreen);
    EXPECT_EQ(pixel(234 - 8, 100), kWhite);  // border, not VRAM line 212
}

TEST_F(ScreenRendererTest, VerticalAdjustMovesTheDisplayArea) {
    graphic4();
    fillVRAM(0, 128, 0x11);
    setRegister(18, 0x10);  // +1: one line up
    drawLine(31);
    EXPECT_EQ(pixel(31 - 8, 100), kRed);
    setRegister(18, 0xF0);  // -1: one line down
    drawLine(32);
    drawLine(33);
    EXPECT_EQ(pixel(32 - 8, 100), kWhite);
    EXPECT_EQ(pixel(33 - 8, 100), kRed);
}

TEST_F(ScreenRendererTest, VerticalScrollWrapsWithin256Lines) {
    graphic4();
    setRegister(23, 0xF0);
    fillVRAM(0xF0 * 128, 128, 0x11);
    fillVRAM(0xFF * 128, 128, 0x33);
    fillVRAM(0x00 * 128, 128, 0x22);
    drawLine(32);  // row 0
    drawLine(47);  // row 15
    drawLine(48);  // row 16
    EXPECT_EQ(pixel(24, 100), kRed);
    EXPECT_EQ(pixel(39, 100), kBlue);
    EXPECT_EQ(pixel(40, 100), kGreen);
}

TEST_F(ScreenRendererTest, Graphic7ConvertsDirectColourBytes) {
    setRegister(1, 0x40);
    setRegister(0, 0x0E);
    setRegister(2, 0x1F);  // page 0
    setRegister(7, 0x1C);  // border: red 7
    const uint8_t bytes[] = {0xFF, 0x03, 0xE0, 0x1C, 0x00, 0x49};
    std::copy(std::begin(bytes), std::end(bytes), vdp.vram);
    drawLine(32);
    EXPECT_EQ(pixel(24, 32), 0xFFFA);  // blue reaches level 6 only: 26 of 31
    EXPECT_EQ(pixel(24, 33), 0x001A);
    EXPECT_EQ(pixel(24, 34), kGreen);
    EXPECT_EQ(pixel(24, 35), kRed);
    EXPECT_EQ(pixel(24, 36), kBlack);
    // 0x49 = green 2, red 2, blue 1 -> levels 2, 2 and 2.
    EXPECT_EQ(pixel(24, 37), vdp.redLevels[2] + vdp.greenLevels[2] + vdp.blueLevels[2]);
    EXPECT_EQ(pixel(24, 0), kRed);
    EXPECT_EQ(pixel(24, 319), kRed);
}

TEST_F(ScreenRendererTest, Text1DrawsSixDotCharactersBetweenMargins) {
    setRegister(1, 0x50);  // BL + M1
    setRegister(0, 0x00);
    setRegister(2, 0x00);  // names at 0
    setRegister(4, 0x01);  // patterns at 0x800
    setRegister(7, 0x14);  // foreground red, background white
    vdp.vram[0] = 1;
    vdp.vram[39] = 1;
    vdp.vram[0x800 + 8] = 0x84;  // dots 0 and 5
    drawLine(32);
    for (int x = 32; x < 40; ++x) EXPECT_EQ(pixel(24, x), kWhite) << x;  // left margin
    EXPECT_EQ(pixel(24, 40), kRed);
    EXPECT_EQ(pixel(24, 41), kWhite);
    EXPECT_EQ(pixel(24, 45), kRed);
    EXPECT_EQ(pixel(24, 46), kWhite);  // column 1 is code 0, blank
    EXPECT_EQ(pixel(24, 40 + 39 * 6), kRed);
    EXPECT_EQ(pixel(24, 40 + 39 * 6 + 5), kRed);
    for (int x = 280; x < 288; ++x) EXPECT_EQ(pixel(24, x), kWhite) << x;  // right margin
}

// avg(blue, white): red (0 + F800) >> 1 -> 7800, green (0 + 7E0) >> 1 -> 3E0 after the
// mask, blue 1F; 0x7BFF.
TEST_F(ScreenRendererTest, Text2MergesDotPairsAt320AndShowsEveryDotAt640) {
    setRegister(1, 0x50);
    setRegister(0, 0x04);  // M4 + M1: Text 2
    setRegister(2, 0x03);  // names at 0
    setRegister(4, 0x01);  // patterns at 0x800
    setRegister(7, 0x43);  // foreground white, background blue
    vdp.vram[0] = 1;
    vdp.vram[1] = 2;
    vdp.vram[0x800 + 8] = 0xA8;   // alternating dots
    vdp.vram[0x800 + 16] = 0xFC;  // all six
    drawLine(32);
    EXPECT_EQ(pixel(24, 39), kBlue);  // last margin pixel
    EXPECT_EQ(pixel(24, 40), 0x7BFF);
    EXPECT_EQ(pixel(24, 41), 0x7BFF);
    EXPECT_EQ(pixel(24, 42), 0x7BFF);
    EXPECT_EQ(pixel(24, 43), kWhite);
    EXPECT_EQ(pixel(24, 45), kWhite);
    EXPECT_EQ(pixel(24, 46), kBlue);
    EXPECT_EQ(pixel(24, 280), kBlue);  // right margin after 80 x 3 pixels

    startVideo(1);
    useColours();
    setRegister(1, 0x50);
    setRegister(0, 0x04);
    setRegister(2, 0x03);
    setRegister(4, 0x01);
    setRegister(7, 0x43);
    vdp.vram[0] = 1;
    vdp.vram[0x800 + 8] = 0xA8;
    drawLine(32);
    for (int row : {48, 49}) {
        EXPECT_EQ(pixel(row, 64 + 15), kBlue);  // 16-pixel margin
        EXPECT_EQ(pixel(row, 80), kWhite);
        EXPECT_EQ(pixel(row, 81), kBlue);
        EXPECT_EQ(pixel(row, 82), kWhite);
        EXPECT_EQ(pixel(row, 85), kBlue);
    }
}

TEST_F(ScreenRendererTest, DisplayOffPaintsTheWholeRowInColourZero) {
    graphic4();
    fillVRAM(0, 128, 0x11);
    setRegister(1, 0x00);
    drawLine(32);
    drawLine(10);
    for (int x = 0; x < 320; ++x) {
        ASSERT_EQ(pixel(24, x), kWhite) << x;  // colour 0 draws as backdrop 4
        ASSERT_EQ(pixel(2, x), kWhite) << x;
    }

    startVideo(1);
    useColours();
    setRegister(7, 0x03);
    drawLine(100);
    for (int x = 0; x < 640; ++x) {
        ASSERT_EQ(pixel(184, x), kBlue) << x;
        ASSERT_EQ(pixel(185, x), kBlue) << x;
    }
}

TEST_F(ScreenRendererTest, LinesOutsideTheVisibleRangeAndMulticolourAreNotDrawn) {
    fillFrameBuffer(kStale);
    graphic4();
    drawLine(7);
    drawLine(248);
    vdp.scanLine = 0;
    EXPECT_EQ(pixel(0, 0), kStale);
    EXPECT_EQ(pixel(239, 319), kStale);

    setRegister(0, 0x00);
    setRegister(1, 0x48);  // M2: Multicolour
    ASSERT_EQ(vdp.screenMode, kMulticolour);
    drawLine(32);
    drawLine(20);
    EXPECT_EQ(pixel(24, 100), kStale);
    EXPECT_EQ(pixel(12, 0), kStale);

    display.renderEnabled = 0;
    graphic4();
    drawLine(32);
    EXPECT_EQ(pixel(24, 100), kStale);
}

TEST_F(ScreenRendererTest, LinesAboveAndBelowTheDisplayAreaAreBorder) {
    graphic4();
    fillVRAM(0, 0x8000, 0x11);
    drawLine(31);
    drawLine(224);
    for (int x = 0; x < 320; ++x) {
        ASSERT_EQ(pixel(23, x), kWhite) << x;
        ASSERT_EQ(pixel(216, x), kWhite) << x;
    }
}

TEST_F(ScreenRendererTest, TheLargePictureDrawsEachDotAsTwoByTwo) {
    startVideo(1);
    useColours();
    graphic4();
    vdp.vram[0] = 0x12;
    vdp.vram[127] = 0x01;  // dot 255 red
    drawLine(32);          // rows 48 and 49
    for (int row : {48, 49}) {
        EXPECT_EQ(pixel(row, 63), kWhite);
        EXPECT_EQ(pixel(row, 64), kRed);
        EXPECT_EQ(pixel(row, 65), kRed);
        EXPECT_EQ(pixel(row, 66), kGreen);
        EXPECT_EQ(pixel(row, 67), kGreen);
        EXPECT_EQ(pixel(row, 574), kRed);
        EXPECT_EQ(pixel(row, 575), kRed);
        EXPECT_EQ(pixel(row, 576), kWhite);
    }
}

// Red and blue merge to 0x780F: red F800 >> 1 -> 7C00, masked 7800; blue 1F >> 1 -> F.
TEST_F(ScreenRendererTest, Graphic5And6MergeDotPairsAt320) {
    setRegister(1, 0x40);
    setRegister(0, 0x08);  // Graphic 5
    setRegister(2, 0x1F);
    setColour(0, 0, 0, 0);
    setRegister(8, kR8Transparent);  // colour 0 is black of its own
    setRegister(7, 0x07);            // border dots: colour 1 and colour 3
    vdp.vram[0] = 0x1B;              // dots 0, 1, 2, 3
    drawLine(32);
    EXPECT_EQ(pixel(24, 0), 0x780F);
    EXPECT_EQ(pixel(24, 32), 0x7800);  // avg(black, red)
    EXPECT_EQ(pixel(24, 33), mergeColours(kGreen, kBlue));
    EXPECT_EQ(pixel(24, 33), 0x03EF);  // green 7E0 >> 1 -> 3F0, masked 3E0; blue F

    setRegister(0, 0x0A);  // Graphic 6
    setRegister(7, 0x01);
    vdp.vram[0] = 0x13;
    drawLine(32);
    EXPECT_EQ(pixel(24, 32), 0x780F);
    EXPECT_EQ(pixel(24, 0), kRed);  // an ordinary backdrop border
}

TEST_F(ScreenRendererTest, Graphic5BorderAlternatesItsTwoColoursAt640) {
    startVideo(1);
    useColours();
    setRegister(1, 0x40);
    setRegister(0, 0x08);
    setRegister(7, 0x07);
    vdp.vram[0] = 0x1B;
    drawLine(32);
    EXPECT_EQ(pixel(48, 0), kRed);
    EXPECT_EQ(pixel(48, 1), kBlue);
    EXPECT_EQ(pixel(48, 62), kRed);
    EXPECT_EQ(pixel(48, 63), kBlue);
    EXPECT_EQ(pixel(49, 65), kRed);  // dot 1
    EXPECT_EQ(pixel(49, 66), kGreen);
    EXPECT_EQ(pixel(49, 67), kBlue);
    EXPECT_EQ(pixel(48, 576), kRed);
    EXPECT_EQ(pixel(48, 639), kBlue);
}

TEST_F(ScreenRendererTest, Graphic1TakesColoursPerEightCharacters) {
    setRegister(1, 0x40);
    setRegister(0, 0x00);
    setRegister(2, 0x06);  // names 0x1800
    setRegister(3, 0x80);  // colours 0x2000
    setRegister(4, 0x00);  // patterns 0
    vdp.vram[0x1800 + 2] = 0x41;
    vdp.vram[0x41 * 8] = 0xF0;
    vdp.vram[0x2000 + 8] = 0x12;  // codes 0x40-0x47: red on green
    drawLine(32);
    EXPECT_EQ(pixel(24, 32), kWhite);  // code 0: colour 0 is the backdrop
    EXPECT_EQ(pixel(24, 32 + 16), kRed);
    EXPECT_EQ(pixel(24, 32 + 19), kRed);
    EXPECT_EQ(pixel(24, 32 + 20), kGreen);
    EXPECT_EQ(pixel(24, 32 + 23), kGreen);
}

TEST_F(ScreenRendererTest, Graphic2UsesTheTablesOfEachThirdAndColoursEveryLine) {
    setRegister(1, 0x40);
    setRegister(0, 0x02);
    setRegister(2, 0x06);           // names 0x1800
    setRegister(3, 0xFF);           // colours 0x2000
    setRegister(4, 0x03);           // patterns 0
    vdp.vram[0x1800 + 8 * 32] = 5;  // row 64, column 0: second third
    vdp.vram[0x800 + 5 * 8] = 0x80;
    vdp.vram[0x2800 + 5 * 8] = 0x12;
    vdp.vram[5 * 8] = 0xFF;  // the first third's pattern 5 must not be used
    drawLine(32 + 64);
    EXPECT_EQ(pixel(88, 32), kRed);
    EXPECT_EQ(pixel(88, 33), kGreen);
    EXPECT_EQ(pixel(88, 39), kGreen);
}

TEST_F(ScreenRendererTest, InterlacedFieldsFillAlternateRowsFromAlternatePages) {
    startVideo(1);
    useColours();
    setRegister(1, 0x40);
    setRegister(0, 0x0A);  // Graphic 6
    setRegister(2, 0x3F);  // page 1 (0x10000)
    setRegister(9, kR9Interlace | kR9EvenOddPages);
    fillVRAM(0x00000, 256, 0x11);
    fillVRAM(0x10000, 256, 0x22);
    fillFrameBuffer(kStale);

    vdp.vdpStatus[2] |= kS2OddField;  // an odd field first: nothing to pair with yet
    drawLine(32);
    EXPECT_EQ(pixel(48, 100), kStale);
    EXPECT_EQ(pixel(49, 100), kStale);

    vdp.vdpStatus[2] &= ~kS2OddField;
    drawLine(32);
    EXPECT_EQ(display.otherFieldDrawn, 1);
    EXPECT_EQ(pixel(48, 100), kRed);  // page 0 in the even field
    EXPECT_EQ(pixel(49, 100), kStale);

    vdp.vdpStatus[2] |= kS2OddField;
    drawLine(32);
    EXPECT_EQ(pixel(48, 100), kRed);
    EXPECT_EQ(pixel(49, 100), kGreen);  // the selected page
    drawLine(20);
    EXPECT_EQ(pixel(25, 100), kWhite);  // border rows follow the same rule
    EXPECT_EQ(pixel(24, 100), kStale);
}

// Whatever the registers, mode and scroll hold, no pixel of the line or its sprites lands
// outside the frame buffer's rows and columns (the sanitizer build checks VRAM reads).
TEST_F(ScreenRendererTest, NoRegisterValueDrawsOutsideTheFrameBuffer) {
    constexpr int kGuard = 16;
    for (uint8_t size : {0, 1}) {
        startVideo(size);
        const int width = frameBuffer.width, height = frameBuffer.height;
        const int pitchPixels = width + 2 * kGuard;
        std::vector<uint16_t> memory(pitchPixels * (height + 2 * kGuard), kStale);
        attachFrameBuffer(reinterpret_cast<uint8_t*>(memory.data() + kGuard * pitchPixels + kGuard),
                          pitchPixels * 2, width, height);
        uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<uint8_t>(seed >> 16);
        };
        for (uint32_t i = 0; i < kVRAMSize; ++i) vdp.vram[i] = next();
        for (int round = 0; round < 40; ++round) {
            for (int n = 0; n < 47; ++n) vdp.vdpRegister[n] = next();
            vdp.vdpRegister[1] |= kR1DisplayEnable;
            vdp.screenMode = (round % 10 == 9) ? next() : static_cast<uint8_t>(round % 14);
            vdp.vdpStatus[2] = next();
            for (int line = 0; line < 256; ++line) {
                drawLine(line);
                renderSpriteLine();
                checkSpriteCollision();
            }
        }
        for (int y = 0; y < height + 2 * kGuard; ++y) {
            for (int x = 0; x < pitchPixels; ++x) {
                const bool inside =
                    y >= kGuard && y < kGuard + height && x >= kGuard && x < kGuard + width;
                if (!inside) {
                    ASSERT_EQ(memory[y * pitchPixels + x], kStale) << x << "," << y;
                }
            }
        }
        initFrameBuffer();
    }
}

}  // namespace
}  // namespace tavir::testing
