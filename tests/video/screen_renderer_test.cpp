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

constexpr uint16_t kStale = 0x1234;  // what a row held before

class ScreenRendererTest : public VDPTest {
protected:
    void SetUp() override { startVideo(0, true); }

    static void graphic4() {
        setMode(0x06, 0);
        setRegister(2, 0x1F);  // page 0
    }

    static void fillVRAM(uint32_t address, int count, uint8_t value) {
        std::fill_n(vdp.vram + address, count, value);
    }

    static void drawLine(int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
    }
    // Display row `row` (192 lines, no adjust) drawn; the active area starts at pixel 32.
    static uint16_t dotAfterDrawing(int row, int x) {
        drawLine(32 + row);
        return pixel(24 + row, 32 + x);
    }
};

// At 640 x 480 every border and dot is twice as wide and tall. With the display off the
// whole row is colour 0, drawn as backdrop 4.
TEST_F(ScreenRendererTest, SideBordersFollowTheHorizontalAdjustAndDisplayOffIsAllBorder) {
    struct Case {
        uint8_t r18;
        int left, right;
    };
    for (uint8_t size : {0, 1}) {
        startVideo(size, true);
        graphic4();
        fillVRAM(0, 128, 0x11);  // VRAM line 0 all red
        vdp.vram[1] = 0x21;      // but dot 2 green
        const int k = size + 1, row = 24 * k + size;
        for (const Case c : {Case{0x00, 32, 32}, Case{0x07, 25, 39}, Case{0x08, 40, 24}}) {
            setRegister(18, c.r18);
            drawLine(32);  // display row 0
            const int at[] = {0,          c.left - 1,    c.left,       c.left + 2,
                              c.left + 3, 319 - c.right, 320 - c.right};
            const uint16_t expected[] = {kWhite, kWhite, kRed, kGreen, kRed, kRed, kWhite};
            for (int i = 0; i < 7; ++i) {
                EXPECT_EQ(pixel(row, at[i] * k), expected[i]) << int(c.r18) << " " << at[i];
                EXPECT_EQ(pixel(row, at[i] * k + size), expected[i]) << int(c.r18) << " " << at[i];
            }
        }
        setRegister(1, 0x00);
        drawLine(32);
        for (int x = 0; x < frameBuffer.width; ++x) {
            ASSERT_EQ(pixel(row - size, x), kWhite) << x;
            ASSERT_EQ(pixel(row, x), kWhite) << x;
        }
    }
}

TEST_F(ScreenRendererTest, HorizontalScrollRotatesThePictureInsideTheActiveArea) {
    graphic4();
    vdp.vram[0] = 0x12;    // dots 0, 1: red, green
    vdp.vram[4] = 0x35;    // dots 8, 9: blue, yellow
    vdp.vram[127] = 0x23;  // dots 254, 255: green, blue
    struct Case {
        uint8_t r26, r27;  // eight dots left, one dot right
        int x;
        uint16_t expected;
    };
    const Case cases[] = {
        {0, 1, 31, kWhite},  {0, 1, 32, kBlue},  {0, 1, 33, kRed},          {0, 1, 287, kGreen},
        {0, 1, 288, kWhite}, {1, 0, 31, kWhite}, {1, 0, 33, kRed | kGreen}, {1, 0, 32 + 248, kRed},
    };
    for (const Case& c : cases) {
        setRegister(26, c.r26);
        setRegister(27, c.r27);
        drawLine(32);
        EXPECT_EQ(pixel(24, c.x), c.expected) << int(c.r26) << " " << int(c.r27) << " " << c.x;
    }
}

// Display row = scan line - 32 + va (10 lines earlier with LN), VRAM line row + R#23 AND 255.
TEST_F(ScreenRendererTest, VerticalPlacementFollowsLNTheAdjustAndTheScroll) {
    graphic4();
    fillVRAM(0 * 128, 128, 0x11);
    for (int line : {191, 211, 240}) fillVRAM(line * 128, 128, 0x22);
    for (int line : {192, 212, 255}) fillVRAM(line * 128, 128, 0x33);
    struct Case {
        uint8_t r9, r18, r23;
        int line;
        uint16_t colour;
    };
    constexpr uint8_t LN = kR9Lines212;
    const Case cases[] = {
        {0, 0, 0, 31, kWhite},    {0, 0, 0, 32, kRed},     {0, 0, 0, 223, kGreen},
        {0, 0, 0, 224, kWhite},   {LN, 0, 0, 21, kWhite},  {LN, 0, 0, 22, kRed},
        {LN, 0, 0, 233, kGreen},  {LN, 0, 0, 234, kWhite}, {0, 0x10, 0, 31, kRed},
        {0, 0xF0, 0, 32, kWhite}, {0, 0xF0, 0, 33, kRed},  {0, 0, 0xF0, 32, kGreen},
        {0, 0, 0xF0, 47, kBlue},  {0, 0, 0xF0, 48, kRed},
    };
    for (const Case& c : cases) {
        setRegister(9, c.r9);
        setRegister(18, c.r18);
        setRegister(23, c.r23);
        drawLine(c.line);
        EXPECT_EQ(pixel(c.line - 8, 100), c.colour) << c.line << " " << &c - cases;
    }
}

// Text 2 at 320 averages dot pairs: avg(blue, white) = 7800 + 3E0 + 1F = 0x7BFF, with
// 8-dot margins; at 640 every dot shows after a 16-pixel margin.
TEST_F(ScreenRendererTest, Text2MergesDotPairsAt320AndShowsEveryDotAt640) {
    for (uint8_t size : {0, 1}) {
        startVideo(size, true);
        setMode(0x04, 0x10);   // Text 2
        setRegister(2, 0x03);  // names at 0
        setRegister(4, 0x01);  // patterns at 0x800
        setRegister(7, 0x43);  // foreground white, background blue
        vdp.vram[0] = 1;
        vdp.vram[1] = 2;
        vdp.vram[0x800 + 8] = 0xA8;   // alternating dots
        vdp.vram[0x800 + 16] = 0xFC;  // all six
        drawLine(32);
        const int at[] = {39, 40, 42, 43, 46, 280, 79, 80, 81, 82};
        const uint16_t expected[] = {kBlue, 0x7BFF, 0x7BFF, kWhite, kBlue,
                                     kBlue, kBlue,  kWhite, kBlue,  kWhite};
        for (int i = size * 6; i < (size ? 10 : 6); ++i) {
            EXPECT_EQ(pixel(24 * (size + 1) + size, at[i]), expected[i]) << at[i];
        }
    }
}

// An odd field first has nothing to pair with yet; then page 0 on even rows, the selected
// page on odd ones.
TEST_F(ScreenRendererTest, InterlacedFieldsFillAlternateRowsFromAlternatePages) {
    startVideo(1, true);
    setMode(0x0A, 0);      // Graphic 6
    setRegister(2, 0x3F);  // page 1 (0x10000)
    setRegister(9, kR9Interlace | kR9EvenOddPages);
    fillVRAM(0x00000, 256, 0x11);
    fillVRAM(0x10000, 256, 0x22);
    for (int row = 0; row < frameBuffer.height; ++row) {
        std::fill_n(frameBufferRow(row), frameBuffer.width, kStale);
    }
    const uint16_t even[] = {kStale, kRed, kRed}, odd[] = {kStale, kStale, kGreen};
    for (int step = 0; step < 3; ++step) {
        vdp.vdpStatus[2] =
            static_cast<uint8_t>((vdp.vdpStatus[2] & ~kS2OddField) | (step == 1 ? 0 : kS2OddField));
        drawLine(32);
        EXPECT_EQ(pixel(48, 100), even[step]) << step;
        EXPECT_EQ(pixel(49, 100), odd[step]) << step;
    }
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
                if (y < kGuard || y >= kGuard + height || x < kGuard || x >= kGuard + width) {
                    ASSERT_EQ(memory[y * pitchPixels + x], kStale) << x << "," << y;
                }
            }
        }
        initFrameBuffer();
    }
}

// The V9958's additions. YJK by hand from R = Y + J, G = Y + K, B = (5Y - 2J - K) / 4
// clamped to 0-31; in RGB565 a five-bit level is red and blue as it is, green
// floor(level x 63 / 31).
TEST_F(ScreenRendererTest, YJKGroupsShareChromaAndYAEBytesCanBePaletteColours) {
    setMode(0x0E, 0);  // Graphic 7
    const struct { uint8_t r25, bytes[4]; uint16_t pixels[4]; } cases[] = {
        // K = 5 (5, 0), J = -3 (5, 7); Y = 10, 0, 31, 20:
        // (R, G, B) = (7, 15, 12), (0, 5, 0), (28, 31, 31), (17, 25, 25).
        {0x08, {0x55, 0x00, 0xFD, 0xA7}, {0x3BCC, 0x0140, 0xE7FF, 0x8E59}},
        // YAE: 0x1D has bit 3, palette colour 1 (red); then Y = 8, 4, 0 with the same
        // K and J: (5, 13, 10), (1, 9, 5), (0, 5, 0).
        {0x18, {0x1D, 0x40, 0x25, 0x07}, {kRed, 0x2B4A, 0x0A45, 0x0140}},
    };
    for (const auto& c : cases) {
        setRegister(25, c.r25);
        std::copy_n(c.bytes, 4, vdp.vram + 256 * 5 + 8);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(dotAfterDrawing(5, 8 + i), c.pixels[i]) << i;
    }
}

TEST_F(ScreenRendererTest, TwoPageScrollAndLeftMask) {
    setMode(0x0E, 0);                          // Graphic 7: pages of 64 KB
    vdp.vram[255] = vdp.vram[0x10008] = 0x1C;  // red: even page dot 255, odd page dot 8
    vdp.vram[0x10000] = 0xE0;                  // green: odd page dot 0
    setRegister(7, 0xE0);
    const struct { uint8_t r2, r25, r26; int x; uint16_t expected; } cases[] = {
        {0x1F, 0x01, 1, 247, kRed},   {0x1F, 0x01, 1, 248, kGreen},  // 8 dots on: odd page
        {0x3F, 0x01, 1, 248, kGreen}, {0x1F, 0x00, 1, 248, kBlack},  // either page; no SP2
        {0x1F, 0x01, 33, 0, kRed},    {0x1F, 0x03, 33, 0, kGreen},   // six bits; MSK border
    };
    for (const auto& c : cases) {
        setRegister(2, c.r2), setRegister(25, c.r25), setRegister(26, c.r26);
        EXPECT_EQ(dotAfterDrawing(0, c.x), c.expected) << int(c.r25) << " " << c.x;
    }
}

// Cell (1, 1) names pattern 3; cell row 1 uses its bytes 2 (lines 0-3) and 3 (lines 4-7),
// high nibble the left block. Colour 0 is the backdrop (white).
TEST_F(ScreenRendererTest, MulticolourDrawsFourByFourBlocks) {
    setMode(0x00, 0x08);   // M2
    setRegister(2, 0x06);  // names at 0x1800, patterns at 0
    vdp.vram[0x1800 + 32 + 1] = 3;
    vdp.vram[3 * 8 + 2] = 0x12, vdp.vram[3 * 8 + 3] = 0x30;
    const int rows[] = {8, 11, 12, 15}, xs[] = {11, 12, 11, 12};
    const uint16_t expected[] = {kRed, kGreen, kBlue, kWhite};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dotAfterDrawing(rows[i], xs[i]), expected[i]) << i;
}

}  // namespace
}  // namespace tavir::testing
