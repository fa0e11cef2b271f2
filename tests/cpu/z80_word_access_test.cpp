// Words whose two bytes land in different places: across the end of an 8 KB page into a
// slot without RAM, and onto 0xFFFF, the secondary slot register, which the Z80 writes in
// its own byte order (PUSH high byte first, LD (nn),HL low byte first). Each case runs by
// single step and through the run loop, which keeps PC and SP in variables of its own.
#include <functional>
#include <string>
#include <vector>

#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

using WordAccess = Z80Test;

struct WordCase {
    const char* name;
    uint8_t primarySlots;  // 0xFC: page 0 on the empty slot 0, the rest on RAM
    uint16_t sp, bc, hl;
    std::vector<uint8_t> program;  // at 0x8000
    std::function<void(const uint8_t* ram)> check;
};

TEST_F(WordAccess, BytesGoWhereTheirOwnAddressesPoint) {
    const WordCase cases[] = {
        {"PUSH from 0x4001 drops the low byte on the empty slot", 0xFC, 0x4001, 0x1234, 0, {0xC5},
         [](const uint8_t* ram) { EXPECT_EQ(ram[0x4000], 0x12); EXPECT_NE(readMemory(0x3FFF), 0x34); EXPECT_EQ(cpu.sp, 0x3FFF); }},
        {"POP at 0x3FFF takes the high byte from RAM", 0xFC, 0x3FFF, 0, 0, {0xC1},
         [](const uint8_t*) { EXPECT_EQ(cpu.bc.word, 0x7700 | readMemory(0x3FFF)); EXPECT_EQ(cpu.sp, 0x4001); }},
        {"LD HL,(3FFFh) across the page end", 0xFC, 0xF000, 0, 0, {0x2A, 0xFF, 0x3F},
         [](const uint8_t*) { EXPECT_EQ(cpu.hl.word, 0x7700 | readMemory(0x3FFF)); }},
        // B = 2Ah selects slot 3-0 (no RAM) for page 3 before the low byte is written.
        {"PUSH from 0000h: the slot register first", 0xFF, 0x0000, 0x2A34, 0, {0xC5},
         [](const uint8_t* ram) { EXPECT_EQ(ram[0xFFFE], 0x00); EXPECT_EQ(readMemory(0xFFFF), 0xD5); }},
        {"LD (FFFEh),HL: the low byte first", 0xFF, 0xF000, 0, 0x2A34, {0x22, 0xFE, 0xFF},
         [](const uint8_t* ram) { EXPECT_EQ(ram[0xFFFE], 0x34); EXPECT_EQ(readMemory(0xFFFF), 0xD5); }},
    };
    for (const WordCase& c : cases) {
        for (const bool runLoop : {false, true}) {
            SetUp();
            ram_[0x4000] = 0x77;
            for (size_t i = 0; i < c.program.size(); ++i) ram_[0x8000 + i] = c.program[i];
            cpu.pc = 0x8000;
            setPrimarySlots(c.primarySlots);
            cpu.sp = c.sp;
            cpu.bc.word = c.bc;
            cpu.hl.word = c.hl;
            cpu.cycleCount = 1;  // the run loop ends after one instruction
            runLoop ? static_cast<void>(executeUntilLineEnd(cpu)) : executeInstruction(cpu);
            SCOPED_TRACE(std::string(c.name) + (runLoop ? " (run loop)" : " (single step)"));
            EXPECT_EQ(cpu.pc, 0x8000 + c.program.size());
            c.check(ram_.get());
        }
    }
}

}  // namespace
}  // namespace tavir::testing
