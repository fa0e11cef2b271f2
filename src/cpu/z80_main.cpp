#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

template <int Op>
inline void executeUnprefixed(CPUState& cpu) {
    if constexpr (Op == 0xCB) executeCB(cpu);
    else if constexpr (Op == 0xDD) executeIndexedIX(cpu);
    else if constexpr (Op == 0xED) executeED(cpu);
    else if constexpr (Op == 0xFD) executeIndexedIY(cpu);
    else z80::executeMain<Op, z80::Index::HL>(cpu);
}

}  // namespace

void resetCPU(CPUState& cpu) {
    const uint8_t rCounter = cpu.rCounter;
    const int32_t savedCycleCount = cpu.savedCycleCount;
    const int32_t speed = cpu.MSXSpeed;
    cpu = CPUState{};
    cpu.sp = 0xF000;
    cpu.MSXSpeed = speed;
    cpu.cycleCount = speed;
    cpu.pendingVector = kNoInterrupt;
    cpu.rCounter = rCounter;
    cpu.savedCycleCount = savedCycleCount;
}

void executeInstruction(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesMain[op];
    switch (op) {
#define TAVIR_UNPREFIXED_CASE(n) \
    case n: executeUnprefixed<n>(cpu); return;
        TAVIR_Z80_ALL_OPCODES(TAVIR_UNPREFIXED_CASE)
#undef TAVIR_UNPREFIXED_CASE
    }
}

void interruptCPU(CPUState& cpu, uint16_t /*vector*/) {
    if (!(cpu.stateFlags & kIFF1)) return;
    cpu.stateFlags = static_cast<uint8_t>((cpu.stateFlags & ~(kIFF1 | kEIDelay)) | kSavedIFF);
    if (cpu.stateFlags & kHalted) {
        cpu.pc++;
        cpu.stateFlags &= static_cast<uint8_t>(~kHalted);
    }
    z80::push(cpu, cpu.pc);
    // The machine answers every mode at 0x0038: mode 0 executes no bus byte and mode 2
    // reads no vector table.
    cpu.pc = kInterruptVector;
}

}  // namespace tavir
