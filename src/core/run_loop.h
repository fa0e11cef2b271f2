// The run loop: Z80 instructions one after another, and at every scan line's end the
// line step and the interrupt the VDP requests. Time is the line's T-state countdown
// `cycleCount`; each instruction subtracts its T-states, and the line ends when it is
// no longer positive.
#pragma once

#include <cstdint>

#include "cpu/cpu_state.h"

namespace tavir {

constexpr uint64_t kNoLineLimit = UINT64_MAX;

// Runs from the start of a frame until a command code is set; returns 0.
int runCPU(CPUState& cpu);

// What every entry to the run loop does first: pacing restarts, the PSG resynchronises,
// the frame restarts at line 0 (the countdown keeps its value) and the command code is
// cleared, except for a standing stop request.
void enterRunLoop();

// Runs instructions until a command code is set at a line end or `lineLimit` scan lines
// have ended, and returns the lines ended. runCPU runs it without a limit; the limit lets
// a test stop the machine at any line.
uint64_t runScanLines(CPUState& cpu, uint64_t lineLimit);

}  // namespace tavir
