// The CB, ED, DD and FD groups: prefix runs, index halves, block instructions against the
// line budget, LD A,R, RETN/RETI and the emulator trap.
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

TEST_F(PrefixRuns, IndexHalvesAndRealHL) {
    cpu.ix.word = 0xABCD;
    load(0x1000, {0xDD, 0x44});  // LD B,IXh
    EXPECT_EQ(step(), 9);
    EXPECT_EQ(cpu.bc.high, 0xAB);

    ram_[0xABD2] = 0x5A;
    cpu.hl.word = 0x0000;
    load(0x1000, {0xDD, 0x66, 0x05});  // LD H,(IX+5): the real H, at the row's 9 T-states
    EXPECT_EQ(step(), 9);
    EXPECT_EQ(cpu.hl.high, 0x5A);
    EXPECT_EQ(cpu.ix.word, 0xABCD);

    cpu.iy.word = 0x9000;
    cpu.hl.low = 0x77;
    load(0x1000, {0xFD, 0x75, 0xFF});  // LD (IY-1),L
    EXPECT_EQ(step(), 19);
    EXPECT_EQ(ram_[0x8FFF], 0x77);

    cpu.iy.word = 0x12FF;
    load(0x1000, {0xFD, 0x2C});  // INC IYl
    step();
    EXPECT_EQ(cpu.iy.word, 0x1200);
    EXPECT_EQ(f(), kFlagZ | kFlagH);

    cpu.ix.word = 0x3344;
    load(0x1000, {0xDD, 0x65});  // LD IXh,IXl
    step();
    EXPECT_EQ(cpu.ix.word, 0x4444);
}

TEST_F(PrefixRuns, InstructionsWithoutHLIgnoreThePrefix) {
    load(0x1000, {0xDD, 0x01, 0x34, 0x12});  // LD BC,nn under DD: free
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(cpu.bc.word, 0x1234);

    cpu.bc.high = 0x0F;
    a() = 0xF0;
    load(0x1000, {0xDD, 0xED, 0xB0});  // DD ED spent, then B0 = OR B unprefixed
    step();
    EXPECT_EQ(cpu.pc, 0x1002);
    step();
    EXPECT_EQ(a(), 0xFF);
    EXPECT_EQ(cpu.pc, 0x1003);

    cpu.de.word = 0x1111;
    cpu.hl.word = 0x2222;
    cpu.ix.word = 0x3333;
    load(0x1000, {0xDD, 0xEB});  // EX DE,HL is never redirected
    step();
    EXPECT_EQ(cpu.de.word, 0x2222);
    EXPECT_EQ(cpu.hl.word, 0x1111);
    EXPECT_EQ(cpu.ix.word, 0x3333);
}

TEST_F(PrefixRuns, IndexedLoadImmediateTakesDisplacementFirst) {
    cpu.ix.word = 0x9000;
    load(0x1000, {0xDD, 0x36, 0x02, 0x99});  // LD (IX+2),0x99
    EXPECT_EQ(step(), 19);
    EXPECT_EQ(ram_[0x9002], 0x99);
    EXPECT_EQ(cpu.pc, 0x1004);
}

using BitGroups = Z80Test;

TEST_F(BitGroups, IndexedBitOperations) {
    cpu.iy.word = 0x9000;
    ram_[0x9002] = 0x81;
    load(0x1000, {0xFD, 0xCB, 0x02, 0x06});  // RLC (IY+2)
    EXPECT_EQ(step(), 23);
    EXPECT_EQ(ram_[0x9002], 0x03);
    EXPECT_EQ(f(), kFlagPV | kFlagC);

    cpu.bc.high = 0x55;
    load(0x1000, {0xFD, 0xCB, 0x02, 0x00});  // the register-copy form: nothing at all
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(ram_[0x9002], 0x03);
    EXPECT_EQ(cpu.bc.high, 0x55);
    EXPECT_EQ(cpu.pc, 0x1004);

    load(0x1000, {0xFD, 0xCB, 0x02, 0xFE});  // SET 7,(IY+2)
    EXPECT_EQ(step(), 23);
    EXPECT_EQ(ram_[0x9002], 0x83);
    load(0x1000, {0xFD, 0xCB, 0x02, 0x57});  // BIT 2,(IY+2), any low bits
    EXPECT_EQ(step(), 20);
    EXPECT_TRUE(f() & kFlagZ);
}

TEST_F(BitGroups, ShiftsAndBitTest) {
    a() = 0x80;
    load(0x1000, {0xCB, 0x37});  // SLL A
    EXPECT_EQ(step(), 8);
    EXPECT_EQ(a(), 0x01);
    EXPECT_EQ(f(), kFlagC);

    a() = 0x81;
    load(0x1000, {0xCB, 0x2F});  // SRA A keeps bit 7
    step();
    EXPECT_EQ(a(), 0xC0);
    EXPECT_EQ(f(), kFlagS | kFlagPV | kFlagC);

    cpu.hl.word = 0x9000;
    ram_[0x9000] = 0x10;
    f() = kFlagS | kFlag5 | kFlag3 | kFlagPV | kFlagC | kFlagN;
    load(0x1000, {0xCB, 0x66});  // BIT 4,(HL)
    EXPECT_EQ(step(), 12);
    EXPECT_EQ(f(), kFlagS | kFlag5 | kFlag3 | kFlagPV | kFlagC | kFlagH) << "Z clear, N cleared";

    load(0x1000, {0xCB, 0xA6});  // RES 4,(HL)
    EXPECT_EQ(step(), 15);
    EXPECT_EQ(ram_[0x9000], 0x00);
}

using BlockInstructions = Z80Test;

TEST_F(BlockInstructions, LDIRWithinTheBudget) {
    for (int i = 0; i < 3; ++i) ram_[0x9000 + i] = static_cast<uint8_t>(0xA0 + i);
    cpu.hl.word = 0x9000;
    cpu.de.word = 0xA000;
    cpu.bc.word = 3;
    load(0x1000, {0xED, 0xB0});
    EXPECT_EQ(step(), 58);  // 21 + 21 + 16
    EXPECT_EQ(cpu.bc.word, 0);
    EXPECT_EQ(f() & kFlagPV, 0);
    EXPECT_EQ(ram_[0xA002], 0xA2);
    EXPECT_EQ(cpu.pc, 0x1002);
}

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

TEST_F(BlockInstructions, CPDRIgnoresTheBudget) {
    cpu.hl.word = 0xBFFF;
    cpu.bc.word = 0x4000;
    a() = 0x01;  // RAM is all zero: no match
    load(0x1000, {0xED, 0xB9});
    cpu.cycleCount = 228;
    executeInstruction(cpu);
    EXPECT_EQ(cpu.bc.word, 0);
    EXPECT_EQ(cpu.pc, 0x1002);
    EXPECT_EQ(cpu.cycleCount, 228 - (0x4000 * 21 - 5));
    EXPECT_EQ(f() & kFlagPV, 0);
}

TEST_F(BlockInstructions, CPIRStopsOnAMatch) {
    ram_[0x9003] = 0x42;
    cpu.hl.word = 0x9000;
    cpu.bc.word = 10;
    a() = 0x42;
    load(0x1000, {0xED, 0xB1});
    EXPECT_EQ(step(), 4 * 21 - 5);
    EXPECT_EQ(cpu.hl.word, 0x9004);
    EXPECT_EQ(cpu.bc.word, 6);
    EXPECT_EQ(f(), kFlagZ | kFlagN | kFlagPV);
}

TEST_F(BlockInstructions, OTIRWritesEveryByteToPortC) {
    ram_[0x2000] = 0x01;
    ram_[0x2001] = 0x02;
    cpu.hl.word = 0x2000;
    cpu.bc.high = 2;
    cpu.bc.low = 0xFE;  // the mapper register of page 2
    load(0x1000, {0xED, 0xB3});
    EXPECT_EQ(step(), 37);
    EXPECT_EQ(readMapperPage(2), 0xFE) << "last byte written: segment 2";
    EXPECT_EQ(f() & (kFlagZ | kFlagN), kFlagZ | kFlagN);
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

TEST_F(EDGroup, SixteenBitArithmetic) {
    cpu.hl.word = 0x0000;
    cpu.de.word = 0x0001;
    f() = 0;
    load(0x1000, {0xED, 0x52});  // SBC HL,DE
    EXPECT_EQ(step(), 15);
    EXPECT_EQ(cpu.hl.word, 0xFFFF);
    EXPECT_EQ(f(), kFlagS | kFlagH | kFlagN | kFlagC);

    cpu.hl.word = 0x7FFF;
    cpu.bc.word = 0x0000;
    f() = kFlagC;
    load(0x1000, {0xED, 0x4A});  // ADC HL,BC
    step();
    EXPECT_EQ(cpu.hl.word, 0x8000);
    EXPECT_EQ(f(), kFlagS | kFlagH | kFlagPV);

    a() = 0x01;
    load(0x1000, {0xED, 0x44});  // NEG
    step();
    EXPECT_EQ(a(), 0xFF);
    EXPECT_EQ(f(), kFlagS | kFlagH | kFlagN | kFlagC);
}

TEST_F(EDGroup, RotateDigits) {
    cpu.hl.word = 0x9000;
    ram_[0x9000] = 0x34;
    a() = 0x12;
    load(0x1000, {0xED, 0x67});  // RRD
    EXPECT_EQ(step(), 18);
    EXPECT_EQ(a(), 0x14);
    EXPECT_EQ(ram_[0x9000], 0x23);
    load(0x1000, {0xED, 0x6F});  // RLD undoes it
    step();
    EXPECT_EQ(a(), 0x12);
    EXPECT_EQ(ram_[0x9000], 0x34);
}

TEST_F(EDGroup, UnusedValuesConsumeTwoBytesAndDoNothing) {
    cpu.bc.word = 0x1234;
    f() = 0xA5;
    load(0x1000, {0xED, 0x00});
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(cpu.pc, 0x1002);
    EXPECT_EQ(f(), 0xA5);

    load(0x1000, {0xED, 0x4F});  // LD R,A costs 9 and changes nothing
    EXPECT_EQ(step(), 9);
}

// Cassette entries, the unlisted disk ROM entry 0x401F and any address outside the disk
// ROM's entries have no service behind the trap.
TEST_F(EDGroup, TrapWithoutAServiceReturnsUntouched) {
    for (uint16_t address : {0x401F, 0x400D, 0x00E1, 0x2000}) {
        SCOPED_TRACE(address);
        cpu.bc.word = 0x1111;
        cpu.de.word = 0x2222;
        cpu.hl.word = 0x3333;
        a() = 0x44;
        f() = 0x55;
        cpu.sp = 0x8000;
        ram_[0x8000] = 0x00;
        ram_[0x8001] = 0x30;  // caller at 0x3000
        load(address, {0xED, 0xFE, 0xC9});
        EXPECT_EQ(step(), 0);
        EXPECT_EQ(cpu.pc, address + 2);
        step();  // RET
        EXPECT_EQ(cpu.pc, 0x3000);
        EXPECT_EQ(cpu.bc.word, 0x1111);
        EXPECT_EQ(cpu.de.word, 0x2222);
        EXPECT_EQ(cpu.hl.word, 0x3333);
        EXPECT_EQ(cpu.af.word, 0x4455);
    }
}

}  // namespace
}  // namespace tavir::testing
