// What the V9958 adds to the picture: the YJK screens with and without YAE, the left
// mask, the two-page scroll, and the Multicolour blocks. YJK colours are worked out by
// hand from R = Y + J, G = Y + K, B = (5Y - 2J - K) / 4, clamped to 0-31; in RGB565 a
// five-bit level is red and blue as they are and green as floor(level x 63 / 31).
#include <gtest/gtest.h>

#include "video/screen_renderer.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

class V9958ScreensTest : public VDPTest {
protected:
    void SetUp() override { startVideo(0, true); }
    // Display row `row` (192 lines, no adjust) as it is drawn; the active area starts
    // at pixel 32.
    static uint16_t dotAfterDrawing(int row, int x) {
        vdp.scanLine = static_cast<uint8_t>(32 + row);
        renderLine();
        return pixel(24 + row, 32 + x);
    }
};

TEST_F(V9958ScreensTest, YJKGroupsShareChromaAndYAEBytesCanBePaletteColours) {
    setMode(0x0E, 0);  // Graphic 7
    struct Case {
        uint8_t r25, bytes[4];
        uint16_t pixels[4];
    } cases[] = {
        // K = 5 (5, 0), J = -3 (5, 7); Y = 10, 0, 31, 20:
        // (R, G, B) = (7, 15, 12), (0, 5, 0), (28, 31, 31), (17, 25, 25).
        {0x08, {0x55, 0x00, 0xFD, 0xA7}, {0x3BCC, 0x0140, 0xE7FF, 0x8E59}},
        // YAE: 0x1D has bit 3, palette colour 1 (red); then Y = 8, 4, 0 with the same
        // K and J: (5, 13, 10), (1, 9, 5), (0, 5, 0).
        {0x18, {0x1D, 0x40, 0x25, 0x07}, {kRed, 0x2B4A, 0x0A45, 0x0140}},
    };
    for (const Case& c : cases) {
        setRegister(25, c.r25);
        for (int i = 0; i < 4; ++i) vdp.vram[256 * 5 + 8 + i] = c.bytes[i];
        for (int i = 0; i < 4; ++i) EXPECT_EQ(dotAfterDrawing(5, 8 + i), c.pixels[i]) << int(c.r25) << " " << i;
    }
    setRegister(25, 0x00);  // plain Graphic 7 again: 0x55 is green 2, red 5, blue 2
    EXPECT_NE(dotAfterDrawing(5, 8), 0x3BCC);
}

TEST_F(V9958ScreensTest, TwoPageScrollAndLeftMask) {
    setMode(0x0E, 0);  // Graphic 7: pages of 64 KB
    vdp.vram[255] = 0x1C;       // even page, dot 255: red
    vdp.vram[0x10000] = 0xE0;   // odd page, dot 0: green
    vdp.vram[0x10008] = 0x1C;   // odd page, dot 8
    struct Case {
        uint8_t r2, r25, r26;
        int x;
        uint16_t expected;
    } cases[] = {
        {0x1F, 0x01, 1, 247, kRed},     // eight dots left: dot 255 of the even page
        {0x1F, 0x01, 1, 248, kGreen},   // then the odd page
        {0x3F, 0x01, 1, 248, kGreen},   // whichever page of the pair R#2 names
        {0x1F, 0x00, 1, 248, kBlack},   // without SP2 the even page wraps onto itself
        {0x1F, 0x01, 33, 0, kRed},      // six bits: 264 dots, the odd page's dot 8
        {0x1F, 0x03, 33, 0, kGreen},    // MSK: the border, R#7 as a direct colour
    };
    setRegister(7, 0xE0);
    for (const Case& c : cases) {
        setRegister(2, c.r2);
        setRegister(25, c.r25);
        setRegister(26, c.r26);
        EXPECT_EQ(dotAfterDrawing(0, c.x), c.expected) << int(c.r25) << " " << int(c.r26) << " " << c.x;
    }
}

// Cell (1, 1) names pattern 3; cell row 1 uses its bytes 2 (lines 0-3) and 3 (lines 4-7).
TEST_F(V9958ScreensTest, MulticolourDrawsFourByFourBlocks) {
    setMode(0x00, 0x08);  // M2
    setRegister(2, 0x06);  // names at 0x1800
    setRegister(4, 0x00);  // patterns at 0
    vdp.vram[0x1800 + 32 + 1] = 3;
    vdp.vram[3 * 8 + 2] = 0x12;  // red | green
    vdp.vram[3 * 8 + 3] = 0x30;  // blue | colour 0, the backdrop (white)
    const struct {
        int row, x;
        uint16_t expected;
    } cases[] = {{9, 8, kRed}, {9, 11, kRed}, {11, 12, kGreen}, {12, 11, kBlue}, {15, 15, kWhite},
                 {16, 8, vdp.drawPalette[0]}};
    for (const auto& c : cases) EXPECT_EQ(dotAfterDrawing(c.row, c.x), c.expected) << c.row << " " << c.x;
}

}  // namespace
}  // namespace tavir::testing
