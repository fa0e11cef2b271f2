// Building blocks shared by the Z80's instruction groups: operand fetch, stack, and
// the ALU with its flag rules. Bits 5 and 3 of F are never taken from a result here
// (only DAA does that, through its table). `cpu` is the CPU record, or the run loop's
// view of it with the same member names (see z80_main.cpp).
#pragma once

#include <cstdint>

#include "cpu/cpu_state.h"
#include "cpu/cpu_tables.h"
#include "memory/memory_map.h"

namespace tavir::z80 {

// The run loop's dispatch switch is one very large function, where GCC's inliner stops
// inlining these small helpers and calls them instead; they are the body of nearly every
// instruction, so they are forced inline.
#define TAVIR_Z80_INLINE [[gnu::always_inline]] inline

// Which register stands where the unprefixed instruction names HL.
enum class Index { HL, IX, IY };

template <Index X>
TAVIR_Z80_INLINE RegisterPair& indexRegister(auto& cpu) {
    if constexpr (X == Index::HL) return cpu.hl;
    else if constexpr (X == Index::IX) return cpu.ix;
    else return cpu.iy;
}

TAVIR_Z80_INLINE uint8_t fetchByte(auto& cpu) { return readMemory(cpu.pc++); }

TAVIR_Z80_INLINE uint16_t fetchWord(auto& cpu) {
    const uint16_t word = readMemoryWord(cpu.pc);
    cpu.pc = static_cast<uint16_t>(cpu.pc + 2);
    return word;
}

TAVIR_Z80_INLINE uint16_t readWord(uint16_t address) { return readMemoryWord(address); }

TAVIR_Z80_INLINE void writeWord(uint16_t address, uint16_t value) {
    if (writeMemoryWordDirect(address, value)) return;
    writeMemory(address, static_cast<uint8_t>(value));
    writeMemory(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(value >> 8));
}

TAVIR_Z80_INLINE void push(auto& cpu, uint16_t value) {
    const auto top = static_cast<uint16_t>(cpu.sp - 2);
    if (writeMemoryWordDirect(top, value)) {
        cpu.sp = top;
        return;
    }
    writeMemory(--cpu.sp, static_cast<uint8_t>(value >> 8));  // high byte first
    writeMemory(--cpu.sp, static_cast<uint8_t>(value));
}

TAVIR_Z80_INLINE uint16_t pop(auto& cpu) {
    const uint16_t value = readMemoryWord(cpu.sp);
    cpu.sp = static_cast<uint16_t>(cpu.sp + 2);
    return value;
}

// (HL), or (IX+d)/(IY+d) with the displacement fetched from the instruction.
template <Index X>
TAVIR_Z80_INLINE uint16_t memoryOperand(auto& cpu) {
    if constexpr (X == Index::HL) {
        return cpu.hl.word;
    } else {
        const auto displacement = static_cast<int8_t>(fetchByte(cpu));
        return static_cast<uint16_t>(indexRegister<X>(cpu).word + displacement);
    }
}

TAVIR_Z80_INLINE void add8(auto& cpu, uint8_t value, int carry) {
    const uint8_t a = cpu.af.high;
    const unsigned sum = a + value + carry;
    const auto result = static_cast<uint8_t>(sum);
    cpu.af.low = static_cast<uint8_t>(flagsSZ[result] | ((a ^ value ^ result) & kFlagH) |
                                      ((~(a ^ value) & (value ^ result) & 0x80) ? kFlagPV : 0) |
                                      (sum > 0xFF ? kFlagC : 0));
    cpu.af.high = result;
}

// SUB, SBC and CP: returns the difference; the caller decides whether A takes it.
TAVIR_Z80_INLINE uint8_t subtract8(auto& cpu, uint8_t value, int carry) {
    const uint8_t a = cpu.af.high;
    const unsigned difference = a - value - carry;
    const auto result = static_cast<uint8_t>(difference);
    cpu.af.low = static_cast<uint8_t>(flagsSZ[result] | kFlagN | ((a ^ value ^ result) & kFlagH) |
                                      (((a ^ value) & (a ^ result) & 0x80) ? kFlagPV : 0) |
                                      (difference > 0xFF ? kFlagC : 0));
    return result;
}

// The eight accumulator operations in opcode order: ADD ADC SUB SBC AND XOR OR CP.
template <int Operation>
TAVIR_Z80_INLINE void alu(auto& cpu, uint8_t value) {
    const int carry = cpu.af.low & kFlagC;
    if constexpr (Operation == 0) add8(cpu, value, 0);
    else if constexpr (Operation == 1) add8(cpu, value, carry);
    else if constexpr (Operation == 2) cpu.af.high = subtract8(cpu, value, 0);
    else if constexpr (Operation == 3) cpu.af.high = subtract8(cpu, value, carry);
    else if constexpr (Operation == 4) {
        cpu.af.high &= value;
        cpu.af.low = flagsSZP[cpu.af.high] | kFlagH;
    } else if constexpr (Operation == 5) {
        cpu.af.high ^= value;
        cpu.af.low = flagsSZP[cpu.af.high];
    } else if constexpr (Operation == 6) {
        cpu.af.high |= value;
        cpu.af.low = flagsSZP[cpu.af.high];
    } else {
        subtract8(cpu, value, 0);
    }
}

TAVIR_Z80_INLINE uint8_t increment8(auto& cpu, uint8_t value) {
    const auto result = static_cast<uint8_t>(value + 1);
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & kFlagC) | flagsSZ[result] |
                                      (result == 0x80 ? kFlagPV : 0) |
                                      ((result & 0x0F) == 0 ? kFlagH : 0));
    return result;
}

TAVIR_Z80_INLINE uint8_t decrement8(auto& cpu, uint8_t value) {
    const auto result = static_cast<uint8_t>(value - 1);
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & kFlagC) | kFlagN | flagsSZ[result] |
                                      (result == 0x7F ? kFlagPV : 0) |
                                      ((result & 0x0F) == 0x0F ? kFlagH : 0));
    return result;
}

TAVIR_Z80_INLINE uint16_t add16(auto& cpu, uint16_t left, uint16_t right) {
    const unsigned sum = left + right;
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & (kFlagS | kFlagZ | kFlag5 | kFlag3 | kFlagPV)) |
                                      (((left ^ right ^ sum) >> 8) & kFlagH) |
                                      (sum > 0xFFFF ? kFlagC : 0));
    return static_cast<uint16_t>(sum);
}

// The eight rotates and shifts of the CB group in opcode order:
// RLC RRC RL RR SLA SRA SLL SRL. F = the bit shifted out + S, Z, parity; H = N = 0.
template <int Operation>
TAVIR_Z80_INLINE uint8_t rotateShift(auto& cpu, uint8_t value) {
    int result;
    int carryOut;
    if constexpr (Operation == 0) {
        carryOut = value >> 7;
        result = value << 1 | carryOut;
    } else if constexpr (Operation == 1) {
        carryOut = value & 1;
        result = value >> 1 | carryOut << 7;
    } else if constexpr (Operation == 2) {
        carryOut = value >> 7;
        result = value << 1 | (cpu.af.low & kFlagC);
    } else if constexpr (Operation == 3) {
        carryOut = value & 1;
        result = value >> 1 | (cpu.af.low & kFlagC) << 7;
    } else if constexpr (Operation == 4) {
        carryOut = value >> 7;
        result = value << 1;
    } else if constexpr (Operation == 5) {
        carryOut = value & 1;
        result = (value >> 1) | (value & 0x80);
    } else if constexpr (Operation == 6) {
        carryOut = value >> 7;
        result = value << 1 | 1;
    } else {
        carryOut = value & 1;
        result = value >> 1;
    }
    const auto byte = static_cast<uint8_t>(result);
    cpu.af.low = static_cast<uint8_t>(flagsSZP[byte] | carryOut);
    return byte;
}

// BIT b: Z when the bit is clear, H set, N clear; S, bits 5 and 3, P/V and C kept.
TAVIR_Z80_INLINE void testBit(auto& cpu, int bit, uint8_t value) {
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & (kFlagS | kFlag5 | kFlag3 | kFlagPV | kFlagC)) |
                                      kFlagH | ((value >> bit) & 1 ? 0 : kFlagZ));
}

}  // namespace tavir::z80
