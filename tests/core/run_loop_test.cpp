// Scan-line timing of the run loop beyond what the golden run of our interrupt-counting
// cartridge shows (HALT and the interrupt modes): no budget at all and the request's level
// trigger; a command code ending the loop shows in every emulation thread test. EI's one-instruction delay is a CPU test.
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

}  // namespace
}  // namespace tavir
