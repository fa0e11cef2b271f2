// CB: rotates and shifts (SLL included), BIT, RES and SET on registers and (HL).
#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

using z80::Index;

template <int Op>
TAVIR_Z80_INLINE void executeCBOpcode(CPUState& cpu) {
    constexpr int x = Op >> 6, y = (Op >> 3) & 7, z = Op & 7;
    constexpr bool memory = z == 6;
    auto read = [&cpu]() -> uint8_t {
        if constexpr (memory) return readMemory(cpu.hl.word);
        else return z80::register8<z, Index::HL>(cpu);
    };
    auto write = [&cpu](uint8_t value) {
        if constexpr (memory) writeMemory(cpu.hl.word, value);
        else z80::register8<z, Index::HL>(cpu) = value;
    };
    if constexpr (x == 0) write(z80::rotateShift<y>(cpu, read()));
    else if constexpr (x == 1) z80::testBit(cpu, y, read());
    else if constexpr (x == 2) write(static_cast<uint8_t>(read() & ~(1 << y)));
    else write(static_cast<uint8_t>(read() | (1 << y)));
}

}  // namespace

void executeCB(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesCB[op];
    switch (op) {
#define TAVIR_CB_CASE(n) \
    case n: executeCBOpcode<n>(cpu); return;
        TAVIR_Z80_ALL_OPCODES(TAVIR_CB_CASE)
#undef TAVIR_CB_CASE
    }
}

}  // namespace tavir
