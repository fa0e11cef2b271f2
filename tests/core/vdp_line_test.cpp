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

TEST_F(VDPLineTest, LineInterruptComesAtR19Plus24WithoutAdjust) {
    vdp.vdpRegister[0] = kR0LineInterruptEnable;
    vdp.vdpRegister[19] = 100;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{124});

    vdp.scanLine = 124;
    cpu.pendingVector = kNoInterrupt;
    vdpLine(cpu);
    EXPECT_EQ(cpu.pendingVector, kInterruptVector);
}

TEST_F(VDPLineTest, LineInterruptFollowsOffsetScrollAndAdjust) {
    vdp.vdpRegister[0] = kR0LineInterruptEnable;
    vdp.vdpRegister[19] = 100;

    settings.HInterruptOffset = -2;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{122});
    settings.HInterruptOffset = 5;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{129});

    // An adjust the program sets with bit 7 of R#18 (0x80: 8 lines) replaces the offset.
    settings.HInterruptOffset = -2;
    vdp.vdpRegister[18] = 0x80;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{116});

    // Without bit 7 the adjust (0x30: -3 lines) and the offset both count.
    vdp.vdpRegister[18] = 0x30;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{125});

    // The vertical scroll of R#23 moves the line up.
    settings.HInterruptOffset = 0;
    vdp.vdpRegister[18] = 0;
    vdp.vdpRegister[23] = 50;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{74});
}

TEST_F(VDPLineTest, LineInterruptLineWrapsWithinTheFrame) {
    vdp.vdpRegister[0] = kR0LineInterruptEnable;
    vdp.vdpRegister[19] = 240;  // 240 + 24 = 264, line 8
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{8});
    vdp.vdpRegister[19] = 10;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{34});
}

TEST_F(VDPLineTest, NoLineInterruptWhileIE1IsClear) {
    vdp.vdpRegister[19] = 100;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{});
    vdp.scanLine = 124;
    cpu.pendingVector = kNoInterrupt;
    vdpLine(cpu);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
}

TEST_F(VDPLineTest, BlankingStartsAfterTheDisplayLines) {
    EXPECT_EQ(linesRaising(0, kS0Frame), Lines{224});
    vdp.vdpRegister[9] = kR9Lines212;
    EXPECT_EQ(linesRaising(0, kS0Frame), Lines{234});
    vdp.vdpRegister[9] = 0;
    vdp.vdpRegister[18] = 0x80;  // 8 lines down
    EXPECT_EQ(linesRaising(0, kS0Frame), Lines{232});
    vdp.vdpRegister[18] = 0x30;  // 3 lines up
    EXPECT_EQ(linesRaising(0, kS0Frame), Lines{221});
    vdp.vdpRegister[18] = 0;
    settings.HInterruptOffset = -2;  // the offset is for the line interrupt only
    EXPECT_EQ(linesRaising(0, kS0Frame), Lines{224});
}

TEST_F(VDPLineTest, BlankingRequestsAnInterruptOnlyWithIE0) {
    vdp.scanLine = 224;
    vdpLine(cpu);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);

    vdp.vdpRegister[1] = kR1FrameInterruptEnable;
    vdp.scanLine = 224;
    vdpLine(cpu);
    EXPECT_EQ(cpu.pendingVector, kInterruptVector);
}

TEST_F(VDPLineTest, BlankingEndClearsItsFlagsAndWithdrawsTheRequest) {
    EXPECT_EQ(linesWithdrawing(), Lines{32});
    vdp.vdpRegister[9] = kR9Lines212;
    EXPECT_EQ(linesWithdrawing(), Lines{22});
    vdp.vdpRegister[9] = 0;
    vdp.vdpRegister[18] = 0x80;
    EXPECT_EQ(linesWithdrawing(), Lines{40});

    vdp.vdpRegister[18] = 0;
    vdp.vdpStatus[0] = 0xFF;
    vdp.scanLine = 32;
    vdpLine(cpu);
    EXPECT_EQ(vdp.vdpStatus[0], 0xFF & ~(kS0Frame | kS0Collision));
}

TEST_F(VDPLineTest, EvenOddFlagAlternatesEveryFrame) {
    vdp.vdpStatus[2] = 0x4C;
    cpu.pc = 0x0100;
    runScanLines(cpu, 256);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C ^ kS2OddField);
    runScanLines(cpu, 256);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C);
}

}  // namespace
}  // namespace tavir
