#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

template <int Op>
inline void executeUnprefixed(CPUState& cpu) {
    if constexpr (Op == 0xCB)
        executeCB(cpu);
    else if constexpr (Op == 0xDD)
        executeIndexedIX(cpu);
    else if constexpr (Op == 0xED)
        executeED(cpu);
    else if constexpr (Op == 0xFD)
        executeIndexedIY(cpu);
    else
        z80::executeMain<Op, z80::Index::HL>(cpu);
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

namespace {

// One instruction: the opcode's own case of the switch, straight-line code.
[[gnu::always_inline]] inline void dispatch(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesMain[op];
    switch (op) {
#define TAVIR_UNPREFIXED_CASE(n) \
    case n: executeUnprefixed<n>(cpu); return;
        TAVIR_Z80_ALL_OPCODES(TAVIR_UNPREFIXED_CASE)
#undef TAVIR_UNPREFIXED_CASE
    }
}

}  // namespace

void executeInstruction(CPUState& cpu) {
    dispatch(cpu);
}

int32_t executeUntilLineEnd(CPUState& cpu) {
    // The loop lives beside the dispatch, so each instruction's case jumps straight back
    // to the next fetch instead of returning to the caller.
    int32_t beforeLast;
    do {
        beforeLast = cpu.cycleCount;
        dispatch(cpu);
    } while (cpu.cycleCount > 0);
    return beforeLast;
}

void interruptCPU(CPUState& cpu, uint16_t /*vector*/) {
    if (!(cpu.stateFlags & kIFF1)) return;
    cpu.stateFlags = static_cast<uint8_t>((cpu.stateFlags & ~(kIFF1 | kEIDelay)) | kSavedIFF);
    if (cpu.stateFlags & kHalted) {
        cpu.pc++;
        cpu.stateFlags &= static_cast<uint8_t>(~kHalted);
    }
    z80::push(cpu, cpu.pc);
    if (cpu.stateFlags & kInterruptMode2) {
        // Nothing drives the MSX data bus during the acknowledge, so the device's vector
        // byte reads 0xFF and the handler is the word at I x 256 + 0xFF.
        cpu.pc = z80::readWord(static_cast<uint16_t>(cpu.i << 8 | 0xFF));
        cpu.cycleCount -= kInterruptMode2Cycles;
        return;
    }
    // Mode 1 calls 0x0038; so does mode 0, whose instruction from the bus is the 0xFF of
    // RST 38h.
    cpu.pc = kInterruptVector;
}

}  // namespace tavir
