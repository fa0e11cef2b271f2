// The drawing engine through the VDP's ports: dot packing and logical operations, the
// clipping at the plane's edges, the CPU transfers, and random register streams that
// must stay inside VRAM (run under the sanitizers).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint8_t kG4 = 0x06, kG5 = 0x08, kG6 = 0x0A, kG7 = 0x0E;  // R#0 mode bits

struct Command {
    int sx, sy, dx, dy, nx, ny;
    uint8_t colour, argument, code;
};

class CommandEngineTest : public VDPTest {
protected:
    static void run(uint8_t r0, const Command& c) {
        setMode(r0, 0);
        const int values[] = {c.sx, c.sy, c.dx, c.dy, c.nx, c.ny};
        for (int i = 0; i < 6; ++i) {
            setRegister(static_cast<uint8_t>(32 + 2 * i), static_cast<uint8_t>(values[i]));
            setRegister(static_cast<uint8_t>(33 + 2 * i), static_cast<uint8_t>(values[i] >> 8));
        }
        setRegister(44, c.colour);
        setRegister(45, c.argument);
        setRegister(46, c.code);
    }
    static uint8_t status(uint8_t n) {
        setRegister(15, n);
        return readVDPStatus();
    }
    static uint8_t* g7(int x, int y) { return &vdp.vram[y * 256 + x]; }
};

// One dot written into a byte that already holds 0x5A (or 0xFF for Graphic 5): only the
// dot's own bits change. Graphic 4 and 6 pack two dots high nibble first, Graphic 5 four
// from bit 7 down.
TEST_F(CommandEngineTest, PSETChangesOnlyItsOwnDotWithEveryOperation) {
    struct Case {
        uint8_t mode;
        int x, y;
        uint8_t colour, code;
        uint32_t address;
        uint8_t expected;
    } cases[] = {
        {kG4, 4, 1, 0x03, 0x54, 130, 0xCA},   // NOT 3 = C into the high nibble
        {kG4, 5, 1, 0x03, 0x51, 130, 0x52},   // AND: A & 3 = 2 into the low nibble
        {kG6, 7, 2, 0x0F, 0x53, 515, 0x55},   // XOR F: A becomes 5
        {kG5, 2, 3, 0x00, 0x50, 384, 0xF3},   // dot 2 is bits 3-2
        {kG5, 6, 3, 0x01, 0x51, 385, 0xF7},   // AND
        {kG7, 9, 1, 0x81, 0x52, 265, 0xDB},   // a whole byte per dot
        {kG7, 9, 1, 0x00, 0x58, 265, 0x5A},   // SETT with colour 0 writes nothing
        {kG7, 9, 1, 0x00, 0x55, 265, 0x5A},   // NOP (5-7)
        {kG4, 4, 1, 0x13, 0x50, 130, 0x3A},   // R#44 is cut to the dot's four bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << int(c.mode) << " x " << c.x << " op " << int(c.code));
        vdp.vram[c.address] = c.mode == kG5 ? 0xFF : 0x5A;
        run(c.mode, {0, 0, c.x, c.y, 0, 0, c.colour, 0, c.code});
        EXPECT_EQ(vdp.vram[c.address], c.expected);
    }
}

TEST_F(CommandEngineTest, LinesHaveLongSidePlusOneDotsAndDropWhatLeavesThePlane) {
    run(kG7, {0, 0, 10, 10, 5, 0, 0x11, 0, 0x70});
    for (int x = 9; x <= 16; ++x) EXPECT_EQ(*g7(x, 10), (x >= 10 && x <= 15) ? 0x11 : 0) << x;
    // Y major from (40, 40) to (42, 44): x follows y / 2 rounded half up.
    run(kG7, {0, 0, 40, 40, 4, 2, 0x22, 0x01, 0x70});
    const int xs[] = {40, 41, 41, 42, 42};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(*g7(xs[i], 40 + i), 0x22) << i;
    EXPECT_EQ(*g7(40, 41) + *g7(41, 40) + *g7(42, 45), 0);
    // Past the right edge and above line 0 nothing wraps onto the next or last line.
    run(kG7, {0, 0, 254, 20, 5, 0, 0x33, 0, 0x70});
    run(kG7, {0, 0, 1, 1, 5, 5, 0x44, 0x0C, 0x70});
    EXPECT_EQ(*g7(254, 20) + *g7(255, 20), 2 * 0x33);
    EXPECT_EQ(*g7(0, 21) + *g7(1, 21) + *g7(2, 21), 0);
    EXPECT_EQ(*g7(0, 0), 0x44);
    EXPECT_EQ(vdp.vram[0x1FFFF] + vdp.vram[0x1FFFE], 0);
}

TEST_F(CommandEngineTest, SearchStopsAtTheColourOrReportsTheEdge) {
    *g7(100, 5) = 0x07;
    struct Case {
        int sx;
        uint8_t colour, argument;
        int x;
        bool found;
    } cases[] = {
        {10, 0x07, 0x00, 100, true},   // first dot equal to the colour
        {10, 0x09, 0x00, 255, false},  // not there: the right edge, BD clear
        {10, 0x09, 0x04, 0, false},    // leftward: the left edge
        {100, 0x07, 0x02, 101, true},  // EQ: first dot that differs
        {120, 0x07, 0x04, 100, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sx);
        run(kG7, {c.sx, 5, 0, 0, 0, 0, c.colour, c.argument, 0x60});
        EXPECT_EQ(status(8), c.x);
        EXPECT_EQ(status(9), 0xFE);
        EXPECT_EQ((status(2) & 0x10) != 0, c.found);
    }
    run(kG6, {0, 5, 0, 0, 0, 0, 1, 0, 0x60});  // 512 dots wide: bit 8 in S#9
    EXPECT_EQ(status(8), 0xFF);
    EXPECT_EQ(status(9), 0xFF);
}

// Fills are clipped, never moved: a leftward or upward fill that crosses 0 stops there.
TEST_F(CommandEngineTest, FillsAreClippedAtThePlaneEdgesUnderDIXAndDIY) {
    run(kG7, {0, 0, 5, 2, 10, 5, 0x0F, 0x0C, 0x80});
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(*g7(x, 0), x <= 5 ? 0x0F : 0) << x;
        EXPECT_EQ(*g7(x, 2), x <= 5 ? 0x0F : 0) << x;
        EXPECT_EQ(*g7(x, 3), 0) << x;
    }
    EXPECT_EQ(vdp.vram[0x1FFFF], 0);  // nothing wrapped to the bottom
    // FFILL: DX = 2 is byte 1 in Graphic 4, NX = 8 is four bytes; leftward only 0 and 1.
    run(kG4, {0, 0, 2, 600, 8, 1, 0xAB, 0x04, 0xC0});
    EXPECT_EQ(vdp.vram[600 * 128 + 0], 0xAB);
    EXPECT_EQ(vdp.vram[600 * 128 + 1], 0xAB);
    EXPECT_EQ(vdp.vram[600 * 128 + 2], 0);
    // FFILL DX = 3, NX = 4: bytes 1 and 2 (dots 2 to 5), whatever the low bits.
    run(kG4, {0, 0, 3, 700, 4, 2, 0xCD, 0x00, 0xC0});
    for (int line = 700; line <= 702; ++line)
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(vdp.vram[line * 128 + b], (line < 702 && (b == 1 || b == 2)) ? 0xCD : 0);
    // NX = NY = 0: every line of the plane, all 128 KB.
    run(kG4, {0, 0, 77, 77, 0, 0, 0x0F, 0x00, 0x80});
    for (uint32_t a = 0; a < kVRAMSize; a += 0x1FFF) EXPECT_EQ(vdp.vram[a], 0xFF) << a;
    EXPECT_EQ(vdp.vram[kVRAMSize - 1], 0xFF);
}

TEST_F(CommandEngineTest, CopiesSkipZeroDotsWithTAndCutAtBothRectangles) {
    for (int x = 0; x < 4; ++x) *g7(x, 0) = static_cast<uint8_t>(x);  // 0 1 2 3
    for (int x = 0; x < 4; ++x) *g7(x + 10, 1) = 0x80;
    run(kG7, {0, 0, 10, 1, 4, 1, 0, 0, 0x98});  // SETT
    EXPECT_EQ(*g7(10, 1), 0x80);
    EXPECT_EQ(*g7(11, 1), 1);
    EXPECT_EQ(*g7(13, 1), 3);
    // Graphic 4, dots 1-6 (1 2 0 0 3 4) onto dots 3-8 of a line of F: whole bytes in the
    // middle must skip their 0 dots one by one too.
    const uint8_t source[] = {0x01, 0x20, 0x03, 0x45}, expected[] = {0xFF, 0xF1, 0x2F, 0xF3, 0x4F, 0xFF};
    std::copy_n(source, 4, vdp.vram + 10 * 128);
    std::fill_n(vdp.vram + 11 * 128, 6, 0xFF);
    run(kG4, {1, 10, 3, 11, 6, 1, 0, 0, 0x98});
    for (int b = 0; b < 6; ++b) EXPECT_EQ(vdp.vram[11 * 128 + b], expected[b]) << b;
    // Leftward from x = 2 to x = 250: only three dots fit on the source side.
    for (int x = 245; x < 256; ++x) *g7(x, 3) = 0x99;
    *g7(0, 4) = 0x99;
    run(kG7, {2, 0, 250, 3, 6, 1, 0, 0x04, 0x90});
    EXPECT_EQ(*g7(250, 3), 2);
    EXPECT_EQ(*g7(249, 3), 1);
    EXPECT_EQ(*g7(248, 3), 0);
    EXPECT_EQ(*g7(247, 3), 0x99);
    run(kG7, {0, 0, 253, 3, 6, 1, 0, 0, 0xD0});  // FCOPY: six bytes cut to the three that fit
    EXPECT_EQ(*g7(253, 3), 0);
    EXPECT_EQ(*g7(255, 3), 2);
    EXPECT_EQ(*g7(0, 4), 0x99);
}

TEST_F(CommandEngineTest, TransfersCountTheirDataAndEnd) {
    run(kG4, {0, 0, 10, 20, 2, 2, 0x01, 0, 0xB0});  // the first dot is R#44's value
    EXPECT_EQ(status(2) & 0x81, 0x81);
    setRegister(44, 0x02);
    setRegister(44, 0x13);  // cut to 3
    EXPECT_EQ(status(2) & 0x81, 0x81);
    setRegister(44, 0x04);
    EXPECT_EQ(status(2) & 0x81, 0);
    setRegister(44, 0x05);  // after the end: no dot
    EXPECT_EQ(vdp.vram[20 * 128 + 5], 0x12);
    EXPECT_EQ(vdp.vram[21 * 128 + 5], 0x34);
    EXPECT_EQ(vdp.vram[22 * 128 + 5], 0x00);

    for (int x = 0; x < 4; ++x) *g7(x + 7, 9) = static_cast<uint8_t>(0x20 + x);
    run(kG7, {7, 9, 0, 0, 3, 1, 0, 0, 0xA0});
    const uint8_t expected[] = {0x20, 0x21, 0x22, 0x22};  // the fourth read repeats
    for (uint8_t e : expected) EXPECT_EQ(status(7), e);
    EXPECT_EQ(status(2) & 0x81, 0);

    *g7(102, 9) = 0x99;
    run(kG7, {0, 0, 100, 9, 4, 1, 0x77, 0, 0xF0});  // FTSFR, then ABRT after one more byte
    setRegister(44, 0x78);
    setRegister(46, 0x00);
    setRegister(44, 0x79);
    EXPECT_EQ(*g7(100, 9), 0x77);
    EXPECT_EQ(*g7(101, 9), 0x78);
    EXPECT_EQ(*g7(102, 9), 0x99);
    EXPECT_EQ(status(2) & 0x81, 0);
}

// Random register streams in every mode and direction: a transfer that ends by itself
// took at most the dots of its clipped rectangle, ABRT ends the others, and the
// sanitizers watch every VRAM access.
TEST_F(CommandEngineTest, RandomRegisterStreamsStayInsideVRAM) {
    std::mt19937 random(20261207);
    const uint8_t modes[] = {kG4, kG5, kG6, kG7};
    const int widths[] = {256, 512, 512, 256}, heights[] = {1024, 1024, 512, 512};
    for (int round = 0; round < 400; ++round) {
        const int m = static_cast<int>(random() % 4);
        setMode(modes[m], 0);
        for (uint8_t n = 32; n <= 45; ++n) setRegister(n, static_cast<uint8_t>(random()));
        if (round % 8) setRegister(43, 0), setRegister(42, vdp.vdpRegister[42] & 15);  // mostly short
        const int nx = (vdp.vdpRegister[40] | vdp.vdpRegister[41] << 8) & 0x3FF;
        const int ny = (vdp.vdpRegister[42] | vdp.vdpRegister[43] << 8) & 0x3FF;
        const long most = long(nx == 0 || nx > widths[m] ? widths[m] : nx) *
                          (ny == 0 || ny > heights[m] ? heights[m] : ny);
        const auto code = static_cast<uint8_t>(random());
        setRegister(46, code);
        const bool reading = (code & 0xF0) == 0xA0;
        long data = reading ? 0 : 1;  // TSFR and FTSFR take R#44 as their first
        while ((status(2) & 0x81) && data < 20000) {
            if (reading) status(7);
            else setRegister(44, static_cast<uint8_t>(random()));
            ++data;
        }
        if (data < 20000) {
            EXPECT_LE(data, most) << "round " << round;
        }
        setRegister(46, 0x00);
        EXPECT_EQ(status(2) & 0x81, 0) << "round " << round;
    }
}

}  // namespace
}  // namespace tavir::testing
