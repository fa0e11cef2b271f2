// DD and FD: the unprefixed group with IX or IY in place of HL, and DDCB/FDCB.
#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

using z80::Index;

template <Index X>
void executeIndexedCB(CPUState& cpu) {
    const auto displacement = static_cast<int8_t>(z80::fetchByte(cpu));
    const uint8_t op = z80::fetchByte(cpu);
    const auto address = static_cast<uint16_t>(z80::indexRegister<X>(cpu).word + displacement);
    cpu.cycleCount -= cyclesXYCB[op];
    const int y = (op >> 3) & 7;
    switch (op >> 6) {
        case 0: {
            // Only the forms without a register copy exist here; the others consume
            // their four bytes and do nothing.
            if ((op & 7) != 6) return;
            const uint8_t value = readMemory(address);
            uint8_t result;
            switch (y) {
                case 0: result = z80::rotateShift<0>(cpu, value); break;
                case 1: result = z80::rotateShift<1>(cpu, value); break;
                case 2: result = z80::rotateShift<2>(cpu, value); break;
                case 3: result = z80::rotateShift<3>(cpu, value); break;
                case 4: result = z80::rotateShift<4>(cpu, value); break;
                case 5: result = z80::rotateShift<5>(cpu, value); break;
                case 6: result = z80::rotateShift<6>(cpu, value); break;
                default: result = z80::rotateShift<7>(cpu, value); break;
            }
            writeMemory(address, result);
            return;
        }
        case 1: z80::testBit(cpu, y, readMemory(address)); return;
        case 2:
            if ((op & 7) == 6) writeMemory(address, readMemory(address) & ~(1 << y));
            return;
        default:
            if ((op & 7) == 6) writeMemory(address, readMemory(address) | (1 << y));
            return;
    }
}

template <Index X, int Op>
TAVIR_Z80_INLINE void executeIndexedOpcode(CPUState& cpu) {
    if constexpr (Op == 0xCB) {
        executeIndexedCB<X>(cpu);
    } else if constexpr (Op == 0xDD || Op == 0xFD) {
        cpu.pc--;  // a run of prefixes: the last one counts
    } else if constexpr (Op == 0xED) {
        // DD ED: both bytes are spent; the next byte runs unprefixed.
    } else {
        z80::executeMain<Op, X>(cpu);
    }
}

template <Index X>
void executeIndexed(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesXY[op];
    switch (op) {
#define TAVIR_INDEXED_CASE(n) \
    case n: executeIndexedOpcode<X, n>(cpu); return;
        TAVIR_Z80_ALL_OPCODES(TAVIR_INDEXED_CASE)
#undef TAVIR_INDEXED_CASE
    }
}

}  // namespace

void executeIndexedIX(CPUState& cpu) { executeIndexed<Index::IX>(cpu); }
void executeIndexedIY(CPUState& cpu) { executeIndexed<Index::IY>(cpu); }
void executeIndexedCBIX(CPUState& cpu) { executeIndexedCB<Index::IX>(cpu); }
void executeIndexedCBIY(CPUState& cpu) { executeIndexedCB<Index::IY>(cpu); }

}  // namespace tavir
