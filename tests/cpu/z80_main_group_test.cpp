// The unprefixed group: T-states, the settled flag rules, HALT, EI delay and interrupts.
#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

using MainGroupTiming = Z80Test;

TEST_F(MainGroupTiming, ConditionalInstructionsChargeTheirExtraOnlyWhenTaken) {
    load(0x1000, {0x00});  // NOP
    EXPECT_EQ(step(), 4);

    f() = kFlagZ;
    load(0x1000, {0x20, 0x10});  // JR NZ not taken
    EXPECT_EQ(step(), 7);
    EXPECT_EQ(cpu.pc, 0x1002);
    f() = 0;
    load(0x1000, {0x20, 0x10});  // JR NZ taken
    EXPECT_EQ(step(), 12);
    EXPECT_EQ(cpu.pc, 0x1012);

    cpu.bc.high = 2;
    load(0x1000, {0x10, 0xFE});  // DJNZ taken
    EXPECT_EQ(step(), 8);
    EXPECT_EQ(cpu.pc, 0x1000);
    EXPECT_EQ(step(), 8);  // B reaches 0: falls through at the same cost
    EXPECT_EQ(cpu.pc, 0x1002);

    f() = kFlagZ;
    cpu.sp = 0x8000;
    load(0x1000, {0xCC, 0x34, 0x12});  // CALL Z,0x1234 taken
    EXPECT_EQ(step(), 17);
    EXPECT_EQ(cpu.pc, 0x1234);
    EXPECT_EQ(ram_[0x7FFF] << 8 | ram_[0x7FFE], 0x1003) << "return address on the stack";

    f() = 0;
    load(0x1000, {0xD8});  // RET C not taken
    EXPECT_EQ(step(), 5);
    f() = kFlagC;
    load(0x1000, {0xD8});  // RET C taken
    EXPECT_EQ(step(), 11);
    EXPECT_EQ(cpu.pc, 0x1003);

    f() = 0;
    load(0x1000, {0xCA, 0x00, 0x20});  // JP Z not taken costs the same as taken
    EXPECT_EQ(step(), 10);
}

TEST_F(MainGroupTiming, PublishedCountsWithoutWaitStates) {
    struct Case {
        std::initializer_list<uint8_t> code;
        int tStates;
    };
    const Case cases[] = {
        {{0x01, 0x00, 0x00}, 10}, {{0x02}, 7},       {{0x03}, 6},  {{0x09}, 11},
        {{0x22, 0x00, 0x90}, 16}, {{0x34}, 11},      {{0x36, 5}, 10}, {{0x46}, 7},
        {{0x80}, 4},              {{0x86}, 7},       {{0xC5}, 11}, {{0xC1}, 10},
        {{0xC3, 0x00, 0x10}, 10}, {{0xFF}, 11},      {{0xD3, 0x10}, 11}, {{0xDB, 0x10}, 11},
        {{0xE3}, 19},             {{0xF9}, 6},       {{0xE9}, 4},  {{0x3A, 0, 0x90}, 13},
    };
    for (const Case& c : cases) {
        cpu.hl.word = 0x9000;
        cpu.sp = 0x8000;
        load(0x1000, c.code);
        EXPECT_EQ(step(), c.tStates) << "opcode " << std::hex << int(*c.code.begin());
    }
}

using MainGroupFlags = Z80Test;

TEST_F(MainGroupFlags, AdditionNeverCopiesBits5And3FromTheResult) {
    a() = 0x0F;
    cpu.bc.high = 0x01;
    load(0x1000, {0x80});  // ADD A,B
    step();
    EXPECT_EQ(a(), 0x10);
    EXPECT_EQ(f(), kFlagH);

    a() = 0x27;
    load(0x1000, {0x80});
    step();
    EXPECT_EQ(a(), 0x28);
    EXPECT_EQ(f(), 0x00) << "bit 3 of the result stays out of F";

    a() = 0x7F;
    load(0x1000, {0xC6, 0x01});  // ADD A,1: signed overflow
    step();
    EXPECT_EQ(a(), 0x80);
    EXPECT_EQ(f(), kFlagS | kFlagH | kFlagPV);

    a() = 0xFF;
    f() = kFlagC;
    load(0x1000, {0xCE, 0x00});  // ADC A,0 with carry wraps to zero
    step();
    EXPECT_EQ(a(), 0x00);
    EXPECT_EQ(f(), kFlagZ | kFlagH | kFlagC);
}

TEST_F(MainGroupFlags, SubtractionAndCompare) {
    a() = 0x10;
    load(0x1000, {0xD6, 0x01});  // SUB 1: half borrow
    step();
    EXPECT_EQ(a(), 0x0F);
    EXPECT_EQ(f(), kFlagN | kFlagH);

    a() = 0x80;
    load(0x1000, {0xFE, 0x01});  // CP 1: overflow, A unchanged
    step();
    EXPECT_EQ(a(), 0x80);
    EXPECT_EQ(f(), kFlagN | kFlagPV | kFlagH);

    a() = 0x00;
    f() = kFlagC;
    load(0x1000, {0xDE, 0x00});  // SBC A,0 with carry borrows
    step();
    EXPECT_EQ(a(), 0xFF);
    EXPECT_EQ(f(), kFlagS | kFlagN | kFlagH | kFlagC);
}

TEST_F(MainGroupFlags, LogicalOperationsSetParity) {
    a() = 0xF0;
    load(0x1000, {0xE6, 0x30});  // AND 0x30 -> 0x30, two bits: even
    step();
    EXPECT_EQ(f(), kFlagH | kFlagPV);
    load(0x1000, {0xEE, 0x10});  // XOR 0x10 -> 0x20, odd
    step();
    EXPECT_EQ(a(), 0x20);
    EXPECT_EQ(f(), 0);
    a() = 0;
    load(0x1000, {0xF6, 0x00});  // OR 0 -> zero, even
    step();
    EXPECT_EQ(f(), kFlagZ | kFlagPV);
}

TEST_F(MainGroupFlags, IncrementAndDecrementKeepCarry) {
    cpu.bc.high = 0x7F;
    f() = kFlagC;
    load(0x1000, {0x04});  // INC B
    step();
    EXPECT_EQ(cpu.bc.high, 0x80);
    EXPECT_EQ(f(), kFlagS | kFlagH | kFlagPV | kFlagC);

    cpu.bc.high = 0x80;
    f() = 0;
    load(0x1000, {0x05});  // DEC B
    step();
    EXPECT_EQ(cpu.bc.high, 0x7F);
    EXPECT_EQ(f(), kFlagN | kFlagH | kFlagPV);

    cpu.hl.word = 0x9000;
    ram_[0x9000] = 0xFF;
    load(0x1000, {0x34});  // INC (HL)
    step();
    EXPECT_EQ(ram_[0x9000], 0x00);
    EXPECT_EQ(f(), kFlagZ | kFlagH);

    cpu.bc.word = 0xFFFF;
    f() = 0xFF;
    load(0x1000, {0x03});  // INC BC: no flag changes
    step();
    EXPECT_EQ(cpu.bc.word, 0);
    EXPECT_EQ(f(), 0xFF);
}

TEST_F(MainGroupFlags, SixteenBitAddKeepsSZAndParity) {
    cpu.hl.word = 0x8FFF;
    cpu.de.word = 0x7001;
    f() = kFlagS | kFlagZ | kFlagPV | kFlagN;
    load(0x1000, {0x19});  // ADD HL,DE
    step();
    EXPECT_EQ(cpu.hl.word, 0x0000);
    EXPECT_EQ(f(), kFlagS | kFlagZ | kFlagPV | kFlagH | kFlagC);
}

TEST_F(MainGroupFlags, AccumulatorRotatesKeepSZAndParity) {
    a() = 0x81;
    f() = kFlagS | kFlagZ | kFlagPV | kFlagH | kFlagN;
    load(0x1000, {0x07});  // RLCA
    step();
    EXPECT_EQ(a(), 0x03);
    EXPECT_EQ(f(), kFlagS | kFlagZ | kFlagPV | kFlagC);

    a() = 0x01;
    f() = 0;
    load(0x1000, {0x1F});  // RRA: old carry 0 shifted in, bit 0 out
    step();
    EXPECT_EQ(a(), 0x00);
    EXPECT_EQ(f(), kFlagC);
    load(0x1000, {0x1F});  // RRA again: the carry comes back in at bit 7
    step();
    EXPECT_EQ(a(), 0x80);
    EXPECT_EQ(f(), 0);
}

TEST_F(MainGroupFlags, DAAExamples) {
    a() = 0x15;
    load(0x1000, {0xC6, 0x27, 0x27});  // ADD A,0x27; DAA
    step();
    EXPECT_EQ(a(), 0x3C);
    step();
    EXPECT_EQ(a(), 0x42);
    EXPECT_EQ(f(), kFlagH | kFlagPV);

    a() = 0x9A;
    f() = 0;
    load(0x1000, {0x27});
    step();
    EXPECT_EQ(a(), 0x00);
    EXPECT_EQ(f(), 0x55);
}

TEST_F(MainGroupFlags, CplScfCcfKeepBits5And3) {
    a() = 0x5A;
    f() = kFlag5 | kFlag3 | kFlagC;
    load(0x1000, {0x2F});  // CPL
    step();
    EXPECT_EQ(a(), 0xA5);
    EXPECT_EQ(f(), kFlag5 | kFlag3 | kFlagC | kFlagH | kFlagN);

    f() = kFlag5 | kFlag3 | kFlagH | kFlagN;
    load(0x1000, {0x37});  // SCF
    step();
    EXPECT_EQ(f(), kFlag5 | kFlag3 | kFlagC);

    load(0x1000, {0x3F});  // CCF: H takes the old carry
    step();
    EXPECT_EQ(f(), kFlag5 | kFlag3 | kFlagH);
}

// DAA's table checked against the textbook procedure written independently: adjust the
// low digit, then the high digit, the way a pencil-and-paper BCD correction does.
TEST(DAATable, MatchesDecimalCorrectionForEveryInput) {
    for (int index = 0; index < 2048; ++index) {
        const int a = index & 0xFF;
        const bool c = index & 0x100, h = index & 0x200, n = index & 0x400;
        int result = a;
        bool carry = c;
        bool half;
        if (!n) {
            half = (a & 0x0F) > 9;
            if ((a & 0x0F) > 9 || h) result += 6;
            if (a > 0x99 || c) {
                result += 0x60;
                carry = true;
            }
        } else {
            half = h && (a & 0x0F) < 6;
            if ((a & 0x0F) > 9 || h) result -= 6;
            if (a > 0x99 || c) {
                result -= 0x60;
                carry = true;
            }
        }
        result &= 0xFF;
        int ones = 0;
        for (int bit = 0; bit < 8; ++bit) ones += (result >> bit) & 1;
        const int flags = (result & 0x80) | (result == 0 ? 0x40 : 0) | (result & 0x28) |
                          (half ? 0x10 : 0) | (ones % 2 == 0 ? 0x04 : 0) | (n ? 0x02 : 0) |
                          (carry ? 0x01 : 0);
        ASSERT_EQ(daaTable[index], result << 8 | flags) << "index " << index;
    }
}

TEST(FlagTables, SignZeroAndParity) {
    EXPECT_EQ(flagsSZ[0x00], kFlagZ);
    EXPECT_EQ(flagsSZ[0x80], kFlagS);
    EXPECT_EQ(flagsSZ[0x28], 0) << "bits 5 and 3 never come from the value";
    EXPECT_EQ(flagsSZP[0x00], kFlagZ | kFlagPV);
    EXPECT_EQ(flagsSZP[0x01], 0);
    EXPECT_EQ(flagsSZP[0x03], kFlagPV);
    EXPECT_EQ(flagsSZP[0xFF], kFlagS | kFlagPV);
}

using MainGroupMemory = Z80Test;

TEST_F(MainGroupMemory, StackAndExchangeOrder) {
    cpu.sp = 0x8000;
    cpu.bc.word = 0x1234;
    load(0x1000, {0xC5, 0xD1});  // PUSH BC; POP DE
    step();
    EXPECT_EQ(ram_[0x7FFF], 0x12);
    EXPECT_EQ(ram_[0x7FFE], 0x34);
    step();
    EXPECT_EQ(cpu.de.word, 0x1234);
    EXPECT_EQ(cpu.sp, 0x8000);

    ram_[0x8000] = 0xCD;
    ram_[0x8001] = 0xAB;
    cpu.hl.word = 0x5678;
    load(0x1000, {0xE3});  // EX (SP),HL
    step();
    EXPECT_EQ(cpu.hl.word, 0xABCD);
    EXPECT_EQ(ram_[0x8000], 0x78);
    EXPECT_EQ(ram_[0x8001], 0x56);

    load(0x1000, {0x22, 0xFF, 0x9F});  // LD (0x9FFF),HL: low byte first
    step();
    EXPECT_EQ(ram_[0x9FFF], 0xCD);
    EXPECT_EQ(ram_[0xA000], 0xAB);
}

TEST_F(MainGroupMemory, InPassesOnlyTheImmediatePort) {
    a() = 0x12;
    load(0x1000, {0xDB, 0xFD});  // IN A,(0xFD): the mapper register of page 1
    f() = 0x00;
    step();
    EXPECT_EQ(a(), readMapperPage(1));
    EXPECT_EQ(f(), 0) << "IN A,(n) changes no flag";
}

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

TEST_F(Interrupts, ResetStateKeepsTheRCounter) {
    cpu.rCounter = 77;
    cpu.savedCycleCount = 5;
    cpu.stateFlags = 0xFF;
    cpu.pc = 0x1234;
    resetCPU(cpu);
    EXPECT_EQ(cpu.pc, 0);
    EXPECT_EQ(cpu.sp, 0xF000);
    EXPECT_EQ(cpu.stateFlags, 0);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    EXPECT_EQ(cpu.cycleCount, cpu.MSXSpeed);
    EXPECT_EQ(cpu.rCounter, 77);
    EXPECT_EQ(cpu.savedCycleCount, 5);
}

}  // namespace
}  // namespace tavir::testing
