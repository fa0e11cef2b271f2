// The Z80's registers, interrupt state and the scan line's T-state countdown.
#pragma once

#include <bit>
#include <cstdint>

namespace tavir {

static_assert(std::endian::native == std::endian::little,
              "register pairs overlay their bytes in little-endian order");

// A 16-bit register whose halves are addressable: `low` is C of BC, F of AF, IXl of IX.
union RegisterPair {
    uint16_t word;
    struct {
        uint8_t low;
        uint8_t high;
    };
};

// Flag bits of F.
constexpr uint8_t kFlagS = 0x80;
constexpr uint8_t kFlagZ = 0x40;
constexpr uint8_t kFlag5 = 0x20;
constexpr uint8_t kFlagH = 0x10;
constexpr uint8_t kFlag3 = 0x08;
constexpr uint8_t kFlagPV = 0x04;
constexpr uint8_t kFlagN = 0x02;
constexpr uint8_t kFlagC = 0x01;

// Bits of `stateFlags`.
constexpr uint8_t kIFF1 = 0x01;
constexpr uint8_t kInterruptMode1 = 0x02;
constexpr uint8_t kInterruptMode2 = 0x04;
constexpr uint8_t kEIDelay = 0x20;
constexpr uint8_t kSavedIFF = 0x40;  // IFF1 at the last accepted interrupt; RETN restores it
constexpr uint8_t kHalted = 0x80;

constexpr uint16_t kNoInterrupt = 0xFFFF;
constexpr uint16_t kInterruptVector = 0x0038;
constexpr int32_t kInterruptMode2Cycles = 19;  // the acknowledge, the pushes and the table read

struct CPUState {
    RegisterPair af;  // low F, high A
    RegisterPair bc;
    RegisterPair de;
    RegisterPair hl;
    RegisterPair ix;
    RegisterPair iy;
    uint16_t pc;
    uint16_t sp;
    RegisterPair af2, bc2, de2, hl2;  // the alternate set
    uint8_t stateFlags;
    uint8_t i;
    uint8_t rCounter;         // moves on each LD A,R; there is no refresh register as such
    int32_t MSXSpeed;         // T-states per scan line
    int32_t cycleCount;       // T-states left in the current scan line
    int32_t savedCycleCount;  // the line's countdown while EI's one-instruction delay runs
    uint16_t pendingVector;   // 0x0038 while an interrupt is requested, 0xFFFF for none
};

// Size of `CPUState` in a snapshot; see cpu_snapshot.h for the byte layout.
constexpr int kCPUStateSnapshotSize = 52;

}  // namespace tavir
