#include "cpu/cpu_snapshot.h"

#include <cstring>

namespace tavir {

namespace {

void put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint16_t get16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

int32_t get32(const uint8_t* at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

}  // namespace

void storeCPUState(const CPUState& cpu, uint8_t (&block)[kCPUStateSnapshotSize]) {
    std::memset(block, 0, sizeof block);
    const RegisterPair pairs[] = {cpu.af, cpu.bc, cpu.de, cpu.hl, cpu.ix, cpu.iy};
    for (int i = 0; i < 6; ++i) put16(block + 2 * i, pairs[i].word);
    put16(block + 0x0C, cpu.pc);
    put16(block + 0x0E, cpu.sp);
    const RegisterPair alternates[] = {cpu.af2, cpu.bc2, cpu.de2, cpu.hl2};
    for (int i = 0; i < 4; ++i) put16(block + 0x10 + 2 * i, alternates[i].word);
    block[0x18] = cpu.stateFlags;
    block[0x19] = cpu.i;
    block[0x1A] = cpu.rCounter;
    put32(block + 0x1C, cpu.MSXSpeed);
    put32(block + 0x20, cpu.cycleCount);
    put32(block + 0x24, cpu.savedCycleCount);
    put16(block + 0x28, cpu.pendingVector);
}

void loadCPUState(CPUState& cpu, const uint8_t (&block)[kCPUStateSnapshotSize]) {
    RegisterPair* pairs[] = {&cpu.af, &cpu.bc, &cpu.de, &cpu.hl, &cpu.ix, &cpu.iy};
    for (int i = 0; i < 6; ++i) pairs[i]->word = get16(block + 2 * i);
    cpu.pc = get16(block + 0x0C);
    cpu.sp = get16(block + 0x0E);
    RegisterPair* alternates[] = {&cpu.af2, &cpu.bc2, &cpu.de2, &cpu.hl2};
    for (int i = 0; i < 4; ++i) alternates[i]->word = get16(block + 0x10 + 2 * i);
    cpu.stateFlags = block[0x18];
    cpu.i = block[0x19];
    cpu.rCounter = block[0x1A];
    cpu.MSXSpeed = get32(block + 0x1C);
    cpu.cycleCount = get32(block + 0x20);
    cpu.savedCycleCount = get32(block + 0x24);
    cpu.pendingVector = get16(block + 0x28);
}

}  // namespace tavir
