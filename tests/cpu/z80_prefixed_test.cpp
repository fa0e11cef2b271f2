// The ED, DD and FD groups where the exercisers don't look: prefix runs, block
// instructions against the line budget, LD A,R, RETN/RETI and the emulator trap.
#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

using PrefixRuns = Z80Test;

TEST_F(PrefixRuns, OnlyTheLastPrefixCounts) {
    load(0x1000, {0xDD, 0xDD, 0x21, 0x34, 0x12});
    step();  // the first DD alone
    step();
    EXPECT_EQ(cpu.ix.word, 0x1234);
    EXPECT_EQ(cpu.pc, 0x1005);

    load(0x1000, {0xDD, 0xFD, 0x21, 0x34, 0x12});
    step();
    step();
    EXPECT_EQ(cpu.iy.word, 0x1234);
    EXPECT_EQ(cpu.hl.word, 0);
}

using BlockInstructions = Z80Test;

TEST_F(BlockInstructions, LDIRSplitAcrossScanLines) {
    cpu.hl.word = 0x9000;
    cpu.de.word = 0xA000;
    cpu.bc.word = 0x1000;
    load(0x1000, {0xED, 0xB0});
    cpu.cycleCount = 228;
    executeInstruction(cpu);
    EXPECT_EQ(cpu.cycleCount, -3);
    EXPECT_EQ(cpu.bc.word, 0x1000 - 11);
    EXPECT_EQ(cpu.pc, 0x1000) << "fetched again after the line end";
    EXPECT_TRUE(f() & kFlagPV);

    int lines = 1;
    while (cpu.pc == 0x1000) {
        cpu.cycleCount += 228;
        while (cpu.cycleCount > 0 && cpu.pc == 0x1000) executeInstruction(cpu);
        ++lines;
    }
    EXPECT_EQ(cpu.bc.word, 0);
    EXPECT_EQ(cpu.de.word, 0xB000);
    EXPECT_EQ(228 * lines - cpu.cycleCount, 0x1000 * 21 - 5)
        << "the whole copy costs 21 per byte less 5, however many lines it spans";
}

using EDGroup = Z80Test;

TEST_F(EDGroup, LDARMovesWithTheCounterAndTheCountdown) {
    load(0x1000, {0xED, 0x5F, 0xED, 0x5F});
    cpu.cycleCount = 200;
    cpu.rCounter = 10;
    step();
    const uint8_t first = a();
    EXPECT_EQ(first, static_cast<uint8_t>(11 - 191));
    step();
    EXPECT_NE(a(), first);
    EXPECT_EQ(a(), static_cast<uint8_t>(12 - 182));
}

TEST_F(EDGroup, RETNRestoresTheSavedIFFButRETIDoesNot) {
    cpu.sp = 0x8000;
    cpu.stateFlags = kIFF1;
    cpu.pc = 0x2000;
    interruptCPU(cpu, kInterruptVector);  // saves IFF1, clears it
    load(0x0038, {0xED, 0x4D});           // RETI
    EXPECT_EQ(step(), 14);
    EXPECT_EQ(cpu.pc, 0x2000);
    EXPECT_FALSE(cpu.stateFlags & kIFF1);

    cpu.sp -= 2;  // the same return address again
    load(0x0038, {0xED, 0x45});  // RETN
    step();
    EXPECT_EQ(cpu.pc, 0x2000);
    EXPECT_TRUE(cpu.stateFlags & kIFF1);
}

// Cassette entries, the unlisted disk ROM entry 0x401F and any address outside the disk
// ROM's entries have no service behind the trap.
TEST_F(EDGroup, TrapWithoutAServiceReturnsUntouched) {
    for (uint16_t address : {0x401F, 0x400D, 0x00E1, 0x2000}) {
        SCOPED_TRACE(address);
        cpu.bc.word = 0x1111, cpu.de.word = 0x2222, cpu.hl.word = 0x3333, cpu.af.word = 0x4455;
        cpu.sp = 0x8000;
        ram_[0x8000] = 0x00, ram_[0x8001] = 0x30;  // caller at 0x3000
        load(address, {0xED, 0xFE, 0xC9});
        EXPECT_EQ(step(), 0);
        EXPECT_EQ(cpu.pc, address + 2);
        step();  // RET
        EXPECT_EQ(cpu.pc, 0x3000);
        EXPECT_EQ(uint64_t{cpu.bc.word} << 48 | uint64_t{cpu.de.word} << 32 | cpu.hl.word << 16 | cpu.af.word,
                  0x1111222233334455u);
    }
}

}  // namespace
}  // namespace tavir::testing
