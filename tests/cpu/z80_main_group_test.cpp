// What the exercisers and our CP/M programs leave to a unit test: HALT, the interrupt
// modes and the EI delay against the line's countdown.
#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

using Interrupts = Z80Test;

TEST_F(Interrupts, HaltRepeatsOncePerLineUntilAnInterrupt) {
    load(0x1000, {0x76, 0x00});
    cpu.cycleCount = 100;
    executeInstruction(cpu);
    EXPECT_EQ(cpu.cycleCount, 0) << "HALT ends the scan line at once";
    EXPECT_EQ(cpu.pc, 0x1000);
    EXPECT_TRUE(cpu.stateFlags & kHalted);

    interruptCPU(cpu, kInterruptVector);  // IFF1 clear: ignored
    EXPECT_EQ(cpu.pc, 0x1000);
    EXPECT_TRUE(cpu.stateFlags & kHalted);

    cpu.stateFlags |= kIFF1;
    cpu.sp = 0x8000;
    interruptCPU(cpu, kInterruptVector);
    EXPECT_EQ(cpu.pc, 0x0038);
    EXPECT_EQ(ram_[0x7FFF] << 8 | ram_[0x7FFE], 0x1001) << "returns past the HALT";
    EXPECT_FALSE(cpu.stateFlags & (kHalted | kIFF1));
    EXPECT_TRUE(cpu.stateFlags & kSavedIFF);
}

// The bus reads 0xFF during the acknowledge: mode 0 runs it as RST 38h, mode 2 takes
// its handler from the word at I x 256 + 0xFF (here 0x80FF and 0x8100) for 19 T-states.
TEST_F(Interrupts, ModeTwoVectorsThroughTheTableEntryAtFF) {
    const struct { uint8_t im; uint16_t pc; int32_t cycles; } cases[] = {
        {0x46, 0x38, 0}, {0x56, 0x38, 0}, {0x5E, 0x3412, 19}};
    for (const auto& c : cases) {
        load(0x1000, {0xED, c.im});
        step();
        cpu.i = 0x80, ram_[0x80FF] = 0x12, ram_[0x8100] = 0x34;
        cpu.stateFlags |= kIFF1, cpu.sp = 0x7000, cpu.cycleCount = 100;
        interruptCPU(cpu, kInterruptVector);
        EXPECT_EQ(cpu.pc, c.pc) << std::hex << int(c.im);
        EXPECT_EQ(cpu.cycleCount, 100 - c.cycles);
        EXPECT_EQ(ram_[0x6FFF] << 8 | ram_[0x6FFE], 0x1002) << "returns after the IM";
    }
}

TEST_F(Interrupts, EIWithAPendingRequestEndsTheLineAfterOneMoreInstruction) {
    cpu.pendingVector = kInterruptVector;
    cpu.cycleCount = 100;
    load(0x1000, {0xFB, 0x00, 0x00});  // EI; NOP; NOP
    step();
    EXPECT_TRUE(cpu.stateFlags & kEIDelay);
    EXPECT_EQ(cpu.savedCycleCount, 96);
    EXPECT_EQ(cpu.cycleCount, 1);
    step();  // the NOP after EI
    EXPECT_LE(cpu.cycleCount, 0) << "the countdown ends for the run loop's delayed interrupt";
    EXPECT_EQ(cpu.savedCycleCount + cpu.cycleCount - 1, 96 - 4)
        << "restoring the line leaves the countdown at its value at EI minus the NOP";

    cpu.pendingVector = kNoInterrupt;
    cpu.stateFlags = 0;
    cpu.cycleCount = 100;
    load(0x1000, {0xFB});  // EI with nothing pending: no delay
    step();
    EXPECT_EQ(cpu.cycleCount, 96);
    EXPECT_FALSE(cpu.stateFlags & kEIDelay);
    EXPECT_TRUE(cpu.stateFlags & kIFF1);
}

}  // namespace
}  // namespace tavir::testing
