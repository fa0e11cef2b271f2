// The Z80's fixed tables: T-states per opcode for each prefix group, and the flag
// look-ups that spare every instruction from computing sign, zero and parity.
#pragma once

#include <array>
#include <cstdint>

namespace tavir {

using CycleTable = std::array<uint8_t, 256>;

// Unprefixed opcodes, published Zilog counts without wait states. Conditional
// instructions hold their not-taken cost (the handlers add the rest when taken), DJNZ
// is 8 either way, and the prefixes are 0 because their own tables charge the whole
// instruction.
inline constexpr CycleTable cyclesMain = {
    //  0   1   2   3   4   5   6   7   8   9   A   B   C   D   E   F
    4,  10, 7,  6,  4,  4,  7,  4,  4,  11, 7,  6,  4,  4,  7,  4,   // 0x00
    8,  10, 7,  6,  4,  4,  7,  4,  12, 11, 7,  6,  4,  4,  7,  4,   // 0x10
    7,  10, 16, 6,  4,  4,  7,  4,  7,  11, 16, 6,  4,  4,  7,  4,   // 0x20
    7,  10, 13, 6,  11, 11, 10, 4,  7,  11, 13, 6,  4,  4,  7,  4,   // 0x30
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x40
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x50
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x60
    7,  7,  7,  7,  7,  7,  4,  7,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x70
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x80
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0x90
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0xA0
    4,  4,  4,  4,  4,  4,  7,  4,  4,  4,  4,  4,  4,  4,  7,  4,   // 0xB0
    5,  10, 10, 10, 10, 11, 7,  11, 5,  10, 10, 0,  10, 17, 7,  11,  // 0xC0
    5,  10, 10, 11, 10, 11, 7,  11, 5,  4,  10, 11, 10, 0,  7,  11,  // 0xD0
    5,  10, 10, 19, 10, 11, 7,  11, 5,  4,  10, 4,  10, 0,  7,  11,  // 0xE0
    5,  10, 10, 4,  10, 11, 7,  11, 5,  6,  10, 4,  10, 0,  7,  11,  // 0xF0
};

namespace detail {

constexpr CycleTable makeCyclesCB() {
    CycleTable table{};
    for (int op = 0; op < 256; ++op) {
        const bool memory = (op & 7) == 6;
        const bool bit = op >= 0x40 && op < 0x80;
        table[op] = !memory ? 8 : bit ? 12 : 15;
    }
    return table;
}

constexpr CycleTable makeCyclesED() {
    CycleTable table{};
    auto set = [&table](std::initializer_list<int> ops, uint8_t cycles) {
        for (int op : ops) table[op] = cycles;
    };
    set({0x40, 0x48, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78}, 12);
    set({0x41, 0x49, 0x51, 0x59, 0x61, 0x69, 0x79}, 12);
    set({0x42, 0x52, 0x62, 0x72, 0x4A, 0x5A, 0x6A, 0x7A}, 15);
    set({0x43, 0x53, 0x63, 0x73, 0x4B, 0x5B, 0x6B, 0x7B}, 20);
    set({0x44, 0x46, 0x56, 0x5E}, 8);
    set({0x45, 0x4D}, 14);
    set({0x47, 0x4F, 0x57, 0x5F}, 9);
    set({0x67, 0x6F}, 18);
    set({0xA0, 0xA1, 0xA2, 0xA3, 0xA8, 0xA9, 0xAA, 0xAB}, 16);
    return table;
}

constexpr CycleTable makeCyclesXY() {
    CycleTable table{};
    auto set = [&table](std::initializer_list<int> ops, uint8_t cycles) {
        for (int op : ops) table[op] = cycles;
    };
    set({0x09, 0x19, 0x29, 0x39}, 15);
    set({0x21, 0xE1}, 14);
    set({0x22, 0x2A}, 20);
    set({0x23, 0x2B, 0xF9}, 10);
    set({0x24, 0x25, 0x26, 0x2C, 0x2D, 0x2E, 0x44, 0x45, 0x4C, 0x4D, 0x54, 0x55, 0x5C, 0x5D,
         0x7C, 0x7D, 0x84, 0x85, 0x8C, 0x8D, 0x94, 0x95, 0x9C, 0x9D, 0xA4, 0xA5, 0xAC, 0xAD,
         0xB4, 0xB5, 0xBC, 0xBD},
        9);
    // The whole 0x60 row costs 9, LD H,(IX+d) and LD L,(IX+d) included.
    for (int op = 0x60; op <= 0x6F; ++op) table[op] = 9;
    set({0x34, 0x35, 0xE3}, 23);
    set({0x36, 0x46, 0x4E, 0x56, 0x5E, 0x7E, 0x86, 0x8E, 0x96, 0x9E, 0xA6, 0xAE, 0xB6, 0xBE}, 19);
    for (int op = 0x70; op <= 0x77; ++op) table[op] = 19;
    set({0xE5}, 15);
    set({0xE9}, 8);
    return table;
}

constexpr CycleTable makeCyclesXYCB() {
    CycleTable table{};
    for (int op = 0; op < 256; ++op) {
        if (op >= 0x40 && op < 0x80)
            table[op] = 20;
        else if ((op & 7) == 6)
            table[op] = 23;
    }
    return table;
}

constexpr std::array<uint8_t, 256> makeFlagsSZ() {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>((v & 0x80) | (v == 0 ? 0x40 : 0));
    return table;
}

constexpr std::array<uint8_t, 256> makeFlagsSZP() {
    std::array<uint8_t, 256> table = makeFlagsSZ();
    for (int v = 0; v < 256; ++v) {
        int ones = 0;
        for (int bit = 0; bit < 8; ++bit) ones += (v >> bit) & 1;
        if (ones % 2 == 0) table[v] |= 0x04;
    }
    return table;
}

// Index = A + 256 x C + 512 x H + 1024 x N; value = corrected A << 8 | new F.
constexpr std::array<uint16_t, 2048> makeDAATable() {
    constexpr auto sz = makeFlagsSZP();
    std::array<uint16_t, 2048> table{};
    for (int index = 0; index < 2048; ++index) {
        const int a = index & 0xFF;
        const bool carry = index & 0x100, halfCarry = index & 0x200, subtract = index & 0x400;
        const int lowNibble = a & 0x0F;
        int correction = 0;
        bool newCarry = carry;
        if (halfCarry || lowNibble > 9) correction += 0x06;
        if (carry || a > 0x99) {
            correction += 0x60;
            newCarry = true;
        }
        const int result = (subtract ? a - correction : a + correction) & 0xFF;
        const bool newHalfCarry = subtract ? (halfCarry && lowNibble < 6) : lowNibble > 9;
        const int f = sz[result] | (result & 0x28) | (newHalfCarry ? 0x10 : 0) |
                      (subtract ? 0x02 : 0) | (newCarry ? 0x01 : 0);
        table[index] = static_cast<uint16_t>(result << 8 | f);
    }
    return table;
}

}  // namespace detail

inline constexpr CycleTable cyclesCB = detail::makeCyclesCB();
inline constexpr CycleTable cyclesED = detail::makeCyclesED();
inline constexpr CycleTable cyclesXY = detail::makeCyclesXY();
inline constexpr CycleTable cyclesXYCB = detail::makeCyclesXYCB();

// S and Z of a byte.
inline constexpr std::array<uint8_t, 256> flagsSZ = detail::makeFlagsSZ();
// S, Z and even parity (P/V) of a byte.
inline constexpr std::array<uint8_t, 256> flagsSZP = detail::makeFlagsSZP();
// DAA's result for every A and C, H, N combination.
inline constexpr std::array<uint16_t, 2048> daaTable = detail::makeDAATable();

}  // namespace tavir
