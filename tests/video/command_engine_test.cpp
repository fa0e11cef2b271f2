// The drawing engine through the VDP's ports, with dots and counts worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint8_t kG4 = 0x06, kG5 = 0x08, kG6 = 0x0A, kG7 = 0x0E;  // R#0 mode bits

class CommandEngineTest : public VDPTest {
protected:
    // SX, SY, DX, DY, NX, NY (two registers each), R#44, R#45, then R#46 starts it.
    static void run(uint8_t r0, const std::array<int, 9>& c) {
        setMode(r0, 0);
        for (int i = 0; i < 15; ++i)
            setRegister(32 + i, (i < 12 ? c[i / 2] >> 8 * (i & 1) : c[i - 6]) & 0xFF);
    }
    static uint8_t status(uint8_t n) {
        setRegister(15, n);
        return readVDPStatus();
    }
    static uint8_t& g7(int x, int y) { return vdp.vram[y * 256 + x]; }
    static int bytes3(int a, int b, int c) { return vdp.vram[a] << 16 | vdp.vram[b] << 8 | vdp.vram[c]; }
};

// One dot into a byte of 0x5A (0xFF in Graphic 5): only its own bits change. Graphic 4
// and 6 pack two dots high nibble first, Graphic 5 four from bit 7 down.
TEST_F(CommandEngineTest, PSETChangesOnlyItsOwnDotWithEveryOperation) {
    const struct { uint8_t mode; int x, y; uint8_t colour, code; uint32_t at, expected; } cases[] = {
        {kG4, 4, 1, 0x03, 0x54, 130, 0xCA}, {kG4, 5, 1, 0x03, 0x51, 130, 0x52},  // NOT, AND
        {kG6, 7, 2, 0x0F, 0x53, 515, 0x55}, {kG5, 2, 3, 0x00, 0x50, 384, 0xF3},  // XOR, SET
        {kG5, 6, 3, 0x01, 0x51, 385, 0xF7}, {kG7, 9, 1, 0x81, 0x52, 265, 0xDB},  // AND, OR
        {kG7, 9, 1, 0x00, 0x58, 265, 0x5A}, {kG7, 9, 1, 0x00, 0x55, 265, 0x5A},  // SETT 0, NOP
        {kG4, 4, 1, 0x13, 0x50, 130, 0x3A},  // R#44 cut to the dot's four bits
    };
    for (const auto& c : cases) {
        vdp.vram[c.at] = c.mode == kG5 ? 0xFF : 0x5A;
        run(c.mode, {0, 0, c.x, c.y, 0, 0, c.colour, 0, c.code});
        EXPECT_EQ(vdp.vram[c.at], c.expected) << int(c.mode) << " " << c.x << " " << int(c.code);
    }
}

TEST_F(CommandEngineTest, LinesHaveLongSidePlusOneDotsAndDropWhatLeavesThePlane) {
    run(kG7, {0, 0, 10, 10, 5, 0, 0x11, 0, 0x70});
    for (int x = 9; x <= 16; ++x) EXPECT_EQ(g7(x, 10), (x >= 10 && x <= 15) ? 0x11 : 0) << x;
    run(kG7, {0, 0, 40, 40, 4, 2, 0x22, 0x01, 0x70});  // Y major to (42, 44): x = y / 2 rounded
    const int xs[] = {40, 41, 41, 42, 42};
    for (int i = 0; i < 5; ++i)  // exactly one dot in the row, at xs[i]
        EXPECT_EQ(std::count(&g7(38, 40 + i), &g7(45, 40 + i), 0) * 0x100 + g7(xs[i], 40 + i), 0x622);
    run(kG7, {0, 0, 254, 20, 5, 0, 0x33, 0, 0x70});  // past the right edge
    run(kG7, {0, 0, 1, 1, 5, 5, 0x44, 0x0C, 0x70});  // up-left past line 0
    EXPECT_EQ(bytes3(20 * 256 + 255, 21 * 256, 0) << 8 | vdp.vram[0x1FFFF], 0x33004400);
}

TEST_F(CommandEngineTest, SearchStopsAtTheColourOrReportsTheEdge) {
    g7(100, 5) = 0x07;
    const struct { uint8_t mode; int sx; uint8_t colour, argument; int x; bool found; } cases[] = {
        {kG7, 10, 7, 0, 100, true},  {kG7, 10, 9, 0, 255, false},  // not there: the edge
        {kG7, 10, 9, 4, 0, false},   {kG7, 100, 7, 2, 101, true},  // DIX; EQ: first other
        {kG7, 120, 7, 4, 100, true}, {kG6, 0, 1, 0, 511, false},   // 512 wide: S#9 bit 0
    };
    for (const auto& c : cases) {
        run(c.mode, {c.sx, 5, 0, 0, 0, 0, c.colour, c.argument, 0x60});
        EXPECT_EQ(status(8) | status(9) << 8, 0xFE00 | c.x) << c.sx;  // S#9 = x >> 8 OR 0xFE
        EXPECT_EQ((status(2) & 0x10) != 0, c.found) << c.sx;
    }
}

// Rectangles are clipped, never moved: a leftward or upward fill that crosses 0 stops
// there; copies are cut where either side meets the edge, and T skips 0 dots.
TEST_F(CommandEngineTest, RectanglesAreClippedAtThePlaneEdges) {
    run(kG7, {0, 0, 5, 2, 10, 5, 0x0F, 0x0C, 0x80});
    for (int x = 0; x < 8; ++x) EXPECT_EQ(g7(x, 0) + g7(x, 2) + g7(x, 3), x <= 5 ? 0x1E : 0) << x;
    EXPECT_EQ(vdp.vram[0x1FFFF], 0);
    run(kG4, {0, 0, 2, 600, 8, 1, 0xAB, 0x04, 0xC0});  // FFILL from byte 1, 4 bytes leftward
    EXPECT_EQ(bytes3(600 * 128, 600 * 128 + 1, 600 * 128 + 2), 0xABAB00);
    run(kG4, {0, 0, 3, 700, 4, 2, 0xCD, 0x00, 0xC0});  // DX 3, NX 4: bytes 1, 2 (dots 2-5)
    for (int a : {700 * 128, 701 * 128, 702 * 128})
        EXPECT_EQ(bytes3(a, a + 1, a + 2), a < 702 * 128 ? 0xCDCD : 0);
    std::fill_n(&g7(245, 3), 11, 0x99), g7(0, 4) = 0x99;
    for (int x = 0; x < 4; ++x) g7(x, 0) = static_cast<uint8_t>(x);
    run(kG7, {2, 0, 250, 3, 6, 1, 0, 0x04, 0x90});  // leftward from x = 2: three dots fit
    EXPECT_EQ(bytes3(3 * 256 + 250, 3 * 256 + 249, 3 * 256 + 248) << 8 | g7(247, 3), 0x02010099);
    run(kG7, {0, 0, 253, 3, 6, 1, 0, 0, 0xD0});  // FCOPY to the right edge: three bytes fit
    EXPECT_EQ(bytes3(3 * 256 + 253, 3 * 256 + 255, 4 * 256), 0x000299);
    // Graphic 4 dots 1-6 (1 2 0 0 3 4) with SETT onto dots 3-8 of a line of F: the whole
    // bytes in the middle skip their 0 dots too.
    const uint8_t source[] = {0x01, 0x20, 0x03, 0x45},
                  expected[] = {0xFF, 0xF1, 0x2F, 0xF3, 0x4F, 0xFF};
    std::copy_n(source, 4, vdp.vram + 10 * 128);
    std::fill_n(vdp.vram + 11 * 128, 6, 0xFF);
    run(kG4, {1, 10, 3, 11, 6, 1, 0, 0, 0x98});
    EXPECT_TRUE(std::equal(expected, expected + 6, vdp.vram + 11 * 128));
    run(kG4, {0, 0, 77, 77, 0, 0, 0x0F, 0x00, 0x80});  // NX = NY = 0: all 128 KB
    EXPECT_EQ(std::count(vdp.vram, vdp.vram + kVRAMSize, 0xFF), kVRAMSize);
}

}  // namespace
}  // namespace tavir::testing
