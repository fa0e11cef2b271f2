// The Z80, interpreted one whole instruction at a time. Each instruction subtracts its
// T-states from `cycleCount`; the run loop refills the countdown once per scan line.
#pragma once

#include "cpu/cpu_state.h"

namespace tavir {

// Registers cleared, SP = 0xF000, interrupts off in mode 0, the line's countdown full,
// no interrupt pending. The R counter and the saved countdown keep their values.
void resetCPU(CPUState& cpu);

// Executes exactly one instruction, prefixes included.
void executeInstruction(CPUState& cpu);

// Executes instructions until the countdown is spent (0 or below); at least one.
// Returns the countdown as it stood before the last instruction (HALT zeroes it).
int32_t executeUntilLineEnd(CPUState& cpu);

// Offers the maskable interrupt; ignored while IFF1 is clear (the request stays pending).
// Modes 0 and 1 continue at 0x0038 and cost no T-states; mode 2 at the word at
// I x 256 + 0xFF, for 19 T-states. `pendingVector` stays as it is.
void interruptCPU(CPUState& cpu, uint16_t vector);

// The prefix groups, each entered with PC just after its prefix byte.
void executeCB(CPUState& cpu);
void executeED(CPUState& cpu);
void executeIndexedIX(CPUState& cpu);
void executeIndexedIY(CPUState& cpu);

// DDCB and FDCB, entered with PC on the displacement byte.
void executeIndexedCBIX(CPUState& cpu);
void executeIndexedCBIY(CPUState& cpu);

}  // namespace tavir
