// The line step's interrupt lines: where the line interrupt and the vertical blanking
// come for each combination of registers and the configured offset.
#include "core/vdp_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ram_machine.h"

namespace tavir {
namespace {

class VDPLineTest : public testing::RAMMachineTest {
protected:
    // Runs the step for every line of a frame and returns the lines after which the
    // status bit `bit` of S#`status` was newly set.
    std::vector<int> linesRaising(int status, uint8_t bit) {
        std::vector<int> lines;
        vdp.scanLine = 0;
        for (int line = 0; line < 256; ++line) {
            vdp.vdpStatus[status] &= static_cast<uint8_t>(~bit);
            vdpLine(cpu);
            if (vdp.vdpStatus[status] & bit) lines.push_back(line);
        }
        return lines;
    }

    // The lines after which the blanking end withdrew a request made just before.
    std::vector<int> linesWithdrawing() {
        std::vector<int> lines;
        vdp.scanLine = 0;
        for (int line = 0; line < 256; ++line) {
            cpu.pendingVector = kInterruptVector;
            vdpLine(cpu);
            if (cpu.pendingVector == kNoInterrupt) lines.push_back(line);
        }
        return lines;
    }
};

using Lines = std::vector<int>;

TEST_F(VDPLineTest, LineInterruptLineFollowsR19R23R18AndTheOffset) {
    const struct { uint8_t r19, r23, r18; int offset; int line; } cases[] = {
        {100, 0, 0, 0, 124},   // R#19 + 24
        {100, 0, 0, -2, 122},  // the configured offset
        {100, 0, 0, 5, 129},
        {100, 0, 0x80, -2, 116},  // bit 7 of R#18: its adjust (8 lines) replaces the offset
        {100, 0, 0x30, -2, 125},  // without bit 7 the adjust (-3) and the offset both count
        {100, 50, 0, 0, 74},      // the vertical scroll of R#23 moves the line up
        {240, 0, 0, 0, 8},        // wraps within the frame
    };
    vdp.vdpRegister[0] = kR0LineInterruptEnable;
    for (const auto& c : cases) {
        vdp.vdpRegister[19] = c.r19;
        vdp.vdpRegister[23] = c.r23;
        vdp.vdpRegister[18] = c.r18;
        settings.HInterruptOffset = c.offset;
        EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{c.line})
            << int(c.r19) << " " << int(c.r23) << " " << int(c.r18) << " " << c.offset;
    }
}

TEST_F(VDPLineTest, BlankingStartsAfterTheDisplayLinesAndEndsAtItsEnd) {
    const struct { uint8_t r9, r18; int offset; int start, end; } cases[] = {
        {0, 0, 0, 224, 32},    {kR9Lines212, 0, 0, 234, 22}, {0, 0x80, 0, 232, 40},  // 8 lines down
        {0, 0x30, 0, 221, 29},                                                       // 3 lines up
        {0, 0, -2, 224, 32},  // the offset is for the line interrupt only
    };
    for (const auto& c : cases) {
        vdp.vdpRegister[9] = c.r9;
        vdp.vdpRegister[18] = c.r18;
        settings.HInterruptOffset = c.offset;
        EXPECT_EQ(linesRaising(0, kS0Frame), Lines{c.start}) << int(c.r9) << " " << int(c.r18);
        EXPECT_EQ(linesWithdrawing(), Lines{c.end}) << int(c.r9) << " " << int(c.r18);
    }

    vdp.vdpStatus[0] = 0xFF;
    vdp.scanLine = 32;
    vdpLine(cpu);
    EXPECT_EQ(vdp.vdpStatus[0], 0xFF & ~(kS0Frame | kS0Collision));
}

}  // namespace
}  // namespace tavir
