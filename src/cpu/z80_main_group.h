// The unprefixed instructions, written once for HL and instantiated again for the DD
// and FD prefixes, where IX or IY stands in for HL, IXh/IXl for H/L, and (IX+d) for
// (HL). Each opcode is its own instantiation, so the decoding below folds away at
// compile time and each case of the dispatch switch is straight-line code.
#pragma once

#include <utility>

#include "cpu/z80.h"
#include "cpu/z80_operations.h"
#include "disk/disk_services.h"
#include "memory/io_ports.h"

namespace tavir::z80 {

// 8-bit register by its three-bit code: B C D E H L - A (6 is the memory operand).
// Under a prefix H and L name the index register's halves.
template <int Code, Index X>
TAVIR_Z80_INLINE uint8_t& register8(auto& cpu) {
    static_assert(Code != 6, "code 6 is the memory operand");
    if constexpr (Code == 0) return cpu.bc.high;
    else if constexpr (Code == 1) return cpu.bc.low;
    else if constexpr (Code == 2) return cpu.de.high;
    else if constexpr (Code == 3) return cpu.de.low;
    else if constexpr (Code == 4) return indexRegister<X>(cpu).high;
    else if constexpr (Code == 5) return indexRegister<X>(cpu).low;
    else return cpu.af.high;
}

// 16-bit register by its two-bit code: BC DE HL SP (AF instead of SP for PUSH/POP).
template <int Code, Index X, bool WithAF = false>
TAVIR_Z80_INLINE uint16_t& register16(auto& cpu) {
    if constexpr (Code == 0) return cpu.bc.word;
    else if constexpr (Code == 1) return cpu.de.word;
    else if constexpr (Code == 2) return indexRegister<X>(cpu).word;
    else if constexpr (WithAF) return cpu.af.word;
    else return cpu.sp;
}

template <int Condition>
TAVIR_Z80_INLINE bool conditionHolds(const auto& cpu) {
    const uint8_t f = cpu.af.low;
    if constexpr (Condition == 0) return !(f & kFlagZ);
    else if constexpr (Condition == 1) return f & kFlagZ;
    else if constexpr (Condition == 2) return !(f & kFlagC);
    else if constexpr (Condition == 3) return f & kFlagC;
    else if constexpr (Condition == 4) return !(f & kFlagPV);
    else if constexpr (Condition == 5) return f & kFlagPV;
    else if constexpr (Condition == 6) return !(f & kFlagS);
    else return f & kFlagS;
}

TAVIR_Z80_INLINE void jumpRelative(auto& cpu) {
    const auto displacement = static_cast<int8_t>(fetchByte(cpu));
    cpu.pc = static_cast<uint16_t>(cpu.pc + displacement);
}

TAVIR_Z80_INLINE void halt(auto& cpu) {
    cpu.pc--;  // stay on the HALT; an accepted interrupt steps past it
    cpu.stateFlags |= kHalted;
    cpu.cycleCount = 0;
}

TAVIR_Z80_INLINE void enableInterrupts(auto& cpu) {
    cpu.stateFlags |= kIFF1;
    if (cpu.pendingVector != kNoInterrupt) {
        // Let exactly one more instruction run before the pending request is taken: end
        // the line after it, and keep the line's real countdown for the run loop.
        cpu.stateFlags |= kEIDelay;
        cpu.savedCycleCount = cpu.cycleCount;
        cpu.cycleCount = 1;
    }
}

template <int Op, Index X>
TAVIR_Z80_INLINE void executeMain(auto& cpu) {
    constexpr int x = Op >> 6, y = (Op >> 3) & 7, z = Op & 7, p = y >> 1, q = y & 1;
    constexpr Index Real = Index::HL;  // H and L beside an (IX+d) operand stay H and L

    if constexpr (x == 0) {
        if constexpr (z == 0) {
            if constexpr (y == 0) {
                // NOP
            } else if constexpr (y == 1) {
                std::swap(cpu.af.word, cpu.af2.word);
            } else if constexpr (y == 2) {  // DJNZ: 8 T-states taken or not
                if (--cpu.bc.high != 0) jumpRelative(cpu);
                else cpu.pc++;
            } else if constexpr (y == 3) {
                jumpRelative(cpu);
            } else {
                if (conditionHolds<y - 4>(cpu)) {
                    jumpRelative(cpu);
                    cpu.cycleCount -= 5;
                } else {
                    cpu.pc++;
                }
            }
        } else if constexpr (z == 1) {
            if constexpr (q == 0) register16<p, X>(cpu) = fetchWord(cpu);
            else indexRegister<X>(cpu).word = add16(cpu, indexRegister<X>(cpu).word, register16<p, X>(cpu));
        } else if constexpr (z == 2) {
            if constexpr (Op == 0x02) writeMemory(cpu.bc.word, cpu.af.high);
            else if constexpr (Op == 0x12) writeMemory(cpu.de.word, cpu.af.high);
            else if constexpr (Op == 0x22) writeWord(fetchWord(cpu), indexRegister<X>(cpu).word);
            else if constexpr (Op == 0x32) writeMemory(fetchWord(cpu), cpu.af.high);
            else if constexpr (Op == 0x0A) cpu.af.high = readMemory(cpu.bc.word);
            else if constexpr (Op == 0x1A) cpu.af.high = readMemory(cpu.de.word);
            else if constexpr (Op == 0x2A) indexRegister<X>(cpu).word = readWord(fetchWord(cpu));
            else cpu.af.high = readMemory(fetchWord(cpu));
        } else if constexpr (z == 3) {
            if constexpr (q == 0) ++register16<p, X>(cpu);
            else --register16<p, X>(cpu);
        } else if constexpr (z == 4 || z == 5) {
            auto step = [](auto& state, uint8_t value) {
                if constexpr (z == 4) return increment8(state, value);
                else return decrement8(state, value);
            };
            if constexpr (y == 6) {
                const uint16_t address = memoryOperand<X>(cpu);
                writeMemory(address, step(cpu, readMemory(address)));
            } else {
                uint8_t& r = register8<y, X>(cpu);
                r = step(cpu, r);
            }
        } else if constexpr (z == 6) {
            if constexpr (y == 6) {
                const uint16_t address = memoryOperand<X>(cpu);  // the displacement comes first
                writeMemory(address, fetchByte(cpu));
            } else {
                register8<y, X>(cpu) = fetchByte(cpu);
            }
        } else {
            constexpr uint8_t kept = kFlagS | kFlagZ | kFlag5 | kFlag3 | kFlagPV;
            uint8_t& a = cpu.af.high;
            uint8_t& f = cpu.af.low;
            if constexpr (y == 0) {  // RLCA
                a = static_cast<uint8_t>(a << 1 | a >> 7);
                f = static_cast<uint8_t>((f & kept) | (a & kFlagC));
            } else if constexpr (y == 1) {  // RRCA
                const int carry = a & 1;
                a = static_cast<uint8_t>(a >> 1 | carry << 7);
                f = static_cast<uint8_t>((f & kept) | carry);
            } else if constexpr (y == 2) {  // RLA
                const int carry = a >> 7;
                a = static_cast<uint8_t>(a << 1 | (f & kFlagC));
                f = static_cast<uint8_t>((f & kept) | carry);
            } else if constexpr (y == 3) {  // RRA
                const int carry = a & 1;
                a = static_cast<uint8_t>(a >> 1 | (f & kFlagC) << 7);
                f = static_cast<uint8_t>((f & kept) | carry);
            } else if constexpr (y == 4) {  // DAA
                const int index = a | (f & kFlagC) << 8 | (f & kFlagH) << 5 | (f & kFlagN) << 9;
                cpu.af.word = daaTable[index];
            } else if constexpr (y == 5) {  // CPL
                a = static_cast<uint8_t>(~a);
                f |= kFlagH | kFlagN;
            } else if constexpr (y == 6) {  // SCF
                f = static_cast<uint8_t>((f & ~(kFlagH | kFlagN)) | kFlagC);
            } else {  // CCF: H takes the old carry
                const int carry = f & kFlagC;
                f = static_cast<uint8_t>((f & ~(kFlagH | kFlagN | kFlagC)) | carry << 4 | (carry ^ kFlagC));
            }
        }
    } else if constexpr (x == 1) {
        if constexpr (Op == 0x76) {
            halt(cpu);
        } else if constexpr (y == 6) {
            const uint16_t address = memoryOperand<X>(cpu);
            writeMemory(address, register8<z, Real>(cpu));
        } else if constexpr (z == 6) {
            const uint16_t address = memoryOperand<X>(cpu);
            register8<y, Real>(cpu) = readMemory(address);
        } else {
            register8<y, X>(cpu) = register8<z, X>(cpu);
        }
    } else if constexpr (x == 2) {
        if constexpr (z == 6) alu<y>(cpu, readMemory(memoryOperand<X>(cpu)));
        else alu<y>(cpu, register8<z, X>(cpu));
    } else {
        if constexpr (z == 0) {
            if (conditionHolds<y>(cpu)) {
                cpu.pc = pop(cpu);
                cpu.cycleCount -= 6;
            }
        } else if constexpr (z == 1) {
            if constexpr (q == 0) register16<p, X, true>(cpu) = pop(cpu);
            else if constexpr (p == 0) cpu.pc = pop(cpu);  // RET
            else if constexpr (p == 1) {                   // EXX
                std::swap(cpu.bc.word, cpu.bc2.word);
                std::swap(cpu.de.word, cpu.de2.word);
                std::swap(cpu.hl.word, cpu.hl2.word);
            } else if constexpr (p == 2) cpu.pc = indexRegister<X>(cpu).word;  // JP (HL)
            else cpu.sp = indexRegister<X>(cpu).word;                          // LD SP,HL
        } else if constexpr (z == 2) {
            const uint16_t target = fetchWord(cpu);
            if (conditionHolds<y>(cpu)) cpu.pc = target;
        } else if constexpr (z == 3) {
            if constexpr (y == 0) {
                cpu.pc = fetchWord(cpu);
            } else if constexpr (y == 1) {
                static_assert(y != 1, "CB is dispatched as a prefix");
            } else if constexpr (y == 2) {
                outPort(fetchByte(cpu), cpu.af.high);
            } else if constexpr (y == 3) {
                cpu.af.high = inPort(fetchByte(cpu));
            } else if constexpr (y == 4) {  // EX (SP),HL
                RegisterPair& pair = indexRegister<X>(cpu);
                const uint8_t low = readMemory(cpu.sp);
                writeMemory(cpu.sp, pair.low);
                const auto above = static_cast<uint16_t>(cpu.sp + 1);
                const uint8_t high = readMemory(above);
                writeMemory(above, pair.high);
                pair.low = low;
                pair.high = high;
            } else if constexpr (y == 5) {  // EX DE,HL: never changed by a prefix
                std::swap(cpu.de.word, cpu.hl.word);
            } else if constexpr (y == 6) {
                cpu.stateFlags &= static_cast<uint8_t>(~kIFF1);
            } else {
                enableInterrupts(cpu);
            }
        } else if constexpr (z == 4) {
            const uint16_t target = fetchWord(cpu);
            if (conditionHolds<y>(cpu)) {
                push(cpu, cpu.pc);
                cpu.pc = target;
                cpu.cycleCount -= 7;
            }
        } else if constexpr (z == 5) {
            if constexpr (q == 0) {
                push(cpu, register16<p, X, true>(cpu));
            } else {
                static_assert(p == 0, "DD, ED and FD are dispatched as prefixes");
                const uint16_t target = fetchWord(cpu);
                push(cpu, cpu.pc);
                cpu.pc = target;
            }
        } else if constexpr (z == 6) {
            alu<y>(cpu, fetchByte(cpu));
        } else {
            push(cpu, cpu.pc);
            cpu.pc = static_cast<uint16_t>(y * 8);
        }
    }
}

}  // namespace tavir::z80

// Expands BODY(n) for every opcode value n of 0x00-0xFF.
#define TAVIR_Z80_ROW(BODY, high)                                                             \
    BODY(high + 0x0) BODY(high + 0x1) BODY(high + 0x2) BODY(high + 0x3) BODY(high + 0x4)     \
    BODY(high + 0x5) BODY(high + 0x6) BODY(high + 0x7) BODY(high + 0x8) BODY(high + 0x9)     \
    BODY(high + 0xA) BODY(high + 0xB) BODY(high + 0xC) BODY(high + 0xD) BODY(high + 0xE)     \
    BODY(high + 0xF)
#define TAVIR_Z80_ALL_OPCODES(BODY)                                                           \
    TAVIR_Z80_ROW(BODY, 0x00) TAVIR_Z80_ROW(BODY, 0x10) TAVIR_Z80_ROW(BODY, 0x20)            \
    TAVIR_Z80_ROW(BODY, 0x30) TAVIR_Z80_ROW(BODY, 0x40) TAVIR_Z80_ROW(BODY, 0x50)            \
    TAVIR_Z80_ROW(BODY, 0x60) TAVIR_Z80_ROW(BODY, 0x70) TAVIR_Z80_ROW(BODY, 0x80)            \
    TAVIR_Z80_ROW(BODY, 0x90) TAVIR_Z80_ROW(BODY, 0xA0) TAVIR_Z80_ROW(BODY, 0xB0)            \
    TAVIR_Z80_ROW(BODY, 0xC0) TAVIR_Z80_ROW(BODY, 0xD0) TAVIR_Z80_ROW(BODY, 0xE0)            \
    TAVIR_Z80_ROW(BODY, 0xF0)
