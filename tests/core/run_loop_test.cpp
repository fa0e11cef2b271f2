// Scan-line timing of the run loop beyond what the golden run of our interrupt-counting
// cartridge shows: no budget at all, HALT and EI against the VDP's interrupt requests,
// their level trigger, and the command code.
#include "core/run_loop.h"

#include <gtest/gtest.h>

#include "core/vdp_line.h"
#include "support/ram_machine.h"

namespace tavir {
namespace {

using testing::kTestMSXSpeed;

constexpr uint8_t kR1DisplayAndFrameInterrupt = 0x60;  // BL | IE0

class RunLoopTimingTest : public testing::RAMMachineTest {
protected:
    // Counting loop of 16 T-states a pass: INC HL (6), JP back (10).
    void pokeCountingLoop(uint16_t at) {
        poke(at, {0x23, 0xC3, static_cast<uint8_t>(at & 0xFF), static_cast<uint8_t>(at >> 8)});
    }
};

TEST_F(RunLoopTimingTest, WithoutMSXSpeedEveryInstructionEndsALine) {
    cpu.MSXSpeed = 0;
    cpu.cycleCount = 0;
    cpu.pc = 0x0100;
    runScanLines(cpu, 5);
    EXPECT_EQ(cpu.pc, 0x0105);  // five NOPs
    EXPECT_EQ(vdp.scanLine, 5);
    // Hours of this must not run the countdown down towards an overflow: it stays within
    // one instruction (23 T-states at most) of zero.
    pokeCountingLoop(0x0200);
    cpu.pc = 0x0200;
    runScanLines(cpu, 100'000);
    EXPECT_GT(cpu.cycleCount, -24);
}

TEST_F(RunLoopTimingTest, HaltWaitsLineByLineForTheBlankingInterrupt) {
    // IM 1; a delay loop of 8 + 10 + 26 x 1,754 - 5 = 45,617 T-states (line 199 ends
    // inside its last pass, at 45,602); then EI and HALT, both in line 200.
    poke(0x0100, {0xED, 0x56,                    // IM 1
                  0x01, 0xDA, 0x06,              // LD BC,1754
                  0x0B, 0x78, 0xB1, 0x20, 0xFB,  // DEC BC; LD A,B; OR C; JR NZ,-5
                  0xFB,                          // EI      0x010A
                  0x76,                          // HALT    0x010B
                  0x00});                        // NOP     0x010C
    poke(0x0038, {0x18, 0xFE});                  // JR $
    vdp.vdpRegister[1] = kR1DisplayAndFrameInterrupt;
    cpu.pc = 0x0100;

    runScanLines(cpu, 200);
    EXPECT_EQ(cpu.pc, 0x0106);  // still in the loop
    runScanLines(cpu, 1);
    EXPECT_EQ(cpu.pc, 0x010B);
    EXPECT_TRUE(cpu.stateFlags & kHalted);

    // Halted, each line is one HALT that ends it at once; nothing is requested yet.
    for (int line = 201; line < 224; ++line) {
        runScanLines(cpu, 1);
        ASSERT_EQ(cpu.pc, 0x010B) << "line " << line;
        ASSERT_EQ(cpu.cycleCount, kTestMSXSpeed) << "line " << line;
    }
    EXPECT_EQ(vdp.scanLine, 224);

    runScanLines(cpu, 1);  // the end of line 224 raises the blanking request
    EXPECT_TRUE(vdp.vdpStatus[0] & kS0Frame);
    EXPECT_EQ(cpu.pc, 0x0038);
    EXPECT_FALSE(cpu.stateFlags & kHalted);
    EXPECT_FALSE(cpu.stateFlags & kIFF1);
    EXPECT_EQ(cpu.sp, 0xF000 - 2);
    EXPECT_EQ(readWord(cpu.sp), 0x010C);  // the instruction after the HALT
}

TEST_F(RunLoopTimingTest, EIWithARequestStandingRunsExactlyOneMoreInstruction) {
    // IM 1 and a delay loop of 51,363 T-states with interrupts off: line 224 ends inside
    // it (at 51,300) and raises the request, which waits. Then, in the middle of line
    // 225: LD A,0; EI; NOP; NOP.
    poke(0x0100, {0xED, 0x56,                    // IM 1
                  0x01, 0xB7, 0x07,              // LD BC,1975
                  0x0B, 0x78, 0xB1, 0x20, 0xFB,  // DEC BC; LD A,B; OR C; JR NZ,-5
                  0x3E, 0x00,                    // LD A,0  0x010A
                  0xFB,                          // EI      0x010C
                  0x00,                          // NOP     0x010D
                  0x00});                        // NOP     0x010E
    poke(0x0038, {0x18, 0xFE});                  // JR $: 12 T-states a pass
    vdp.vdpRegister[1] = kR1DisplayAndFrameInterrupt;
    cpu.pc = 0x0100;

    runScanLines(cpu, 225);
    EXPECT_EQ(cpu.pendingVector, kInterruptVector);
    EXPECT_FALSE(cpu.stateFlags & kIFF1);
    EXPECT_LT(cpu.pc, 0x010A);

    // The interrupt comes after the first NOP, at 51,378 T-states, without ending the
    // line: line 225 still ends at the first instruction boundary from 226 x 228 =
    // 51,528 on, after 13 passes of JR $ at 51,534, and the next starts 6 short.
    EXPECT_EQ(runScanLines(cpu, 1), 1u);
    EXPECT_EQ(readWord(cpu.sp), 0x010E);
    EXPECT_EQ(cpu.pc, 0x0038);
    EXPECT_FALSE(cpu.stateFlags & kEIDelay);
    EXPECT_EQ(cpu.cycleCount, kTestMSXSpeed - 6);
    EXPECT_EQ(vdp.scanLine, 226);
}

TEST_F(RunLoopTimingTest, RequestIsOfferedAgainUntilTheVDPWithdrawsIt) {
    // A routine that enables interrupts without reading the VDP status is entered again
    // and again while the blanking request stands; after the blanking ends (line 32 of
    // the next frame) it is entered no more.
    poke(0x0100, {0xED, 0x56, 0xFB, 0x18, 0xFE});  // IM 1; EI; JR $ (0x0103)
    poke(0x0038, {0x04, 0xFB, 0xC9});              // INC B; EI; RET
    vdp.vdpRegister[1] = kR1DisplayAndFrameInterrupt;
    cpu.pc = 0x0100;

    runScanLines(cpu, 224);
    EXPECT_EQ(cpu.bc.high, 0);
    runScanLines(cpu, 1);  // line 224 raises the request and the routine is entered
    EXPECT_EQ(cpu.pc, 0x0038);
    runScanLines(cpu, 1);  // its EI lets it in again straight after its RET
    const uint8_t afterOneLine = cpu.bc.high;
    EXPECT_GT(afterOneLine, 1);
    runScanLines(cpu, 1);
    EXPECT_NE(cpu.bc.high, afterOneLine);

    runScanLines(cpu, 256 - 227 + 33);  // through the end of line 32
    EXPECT_EQ(vdp.scanLine, 33);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    runScanLines(cpu, 2);  // let a routine already entered finish
    const uint8_t settled = cpu.bc.high;
    runScanLines(cpu, 20);
    EXPECT_EQ(cpu.bc.high, settled);
    EXPECT_EQ(cpu.pc, 0x0103);
    EXPECT_EQ(cpu.sp, 0xF000);
}

TEST_F(RunLoopTimingTest, CommandCodeStopsTheLoopAtTheNextLineEnd) {
    cpu.pc = 0x0100;
    commandCode.store(kCommandReset);
    EXPECT_EQ(runScanLines(cpu, kNoLineLimit), 1u);
    EXPECT_EQ(cpu.pc, 0x0100 + kTestMSXSpeed / 4);  // one line of NOPs

    // Entering the loop again clears the code and restarts the frame at line 0 with
    // the countdown as it was.
    const int32_t countdown = cpu.cycleCount;
    enterRunLoop();
    EXPECT_EQ(commandCode.load(), kCommandNone);
    EXPECT_EQ(vdp.scanLine, 0);
    EXPECT_EQ(cpu.cycleCount, countdown);
}

}  // namespace
}  // namespace tavir
