#include "core/run_loop.h"

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/vdp_line.h"
#include "cpu/z80.h"
#include "sound/psg.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

int runCPU(CPUState& cpu) {
    enterRunLoop();
    runScanLines(cpu, kNoLineLimit);
    return 0;
}

void enterRunLoop() {
    startPacing();
    resyncPSG();
    // Commands may have changed anything (a reset, a snapshot, settings): every line is
    // drawn afresh.
    notePictureChange();
    vdp.scanLine = 0;
    commandCode.store(kCommandNone);
    // A stop requested while the last command was handled must not be cleared away.
    if (emulationStopRequested.load()) commandCode.store(kCommandQuit);
}

uint64_t runScanLines(CPUState& cpu, uint64_t lineLimit) {
    uint64_t lines = 0;
    for (;;) {
        // A halted CPU repeats its HALT, which ends the line (and changes nothing else),
        // until an interrupt is accepted: the line is over without entering the Z80.
        if ((cpu.stateFlags & (kHalted | kEIDelay)) == kHalted)
            cpu.cycleCount = 0;
        else
            executeUntilLineEnd(cpu);

        uint16_t vector;
        if (cpu.stateFlags & kEIDelay) {
            // One instruction after an EI with a request standing: not a line end. The
            // line's own countdown comes back, less what that instruction took (EI left
            // 1 in the countdown for it).
            vector = cpu.pendingVector;
            cpu.cycleCount += cpu.savedCycleCount - 1;
            cpu.stateFlags &= static_cast<uint8_t>(~kEIDelay);
        } else {
            vdpLine(cpu);
            // The overshoot carries into the next line; after a long block instruction
            // the next lines end one instruction each until the countdown catches up.
            cpu.cycleCount += cpu.MSXSpeed;
            // A speed of 0 (no or a cut-off MSXSpeed) ends a line after every instruction;
            // the countdown must not keep falling towards an overflow meanwhile.
            if (cpu.MSXSpeed <= 0) cpu.cycleCount = 0;
            vector = cpu.pendingVector;
            ++lines;
        }
        // Offered at every line end while it stands: the request is level-triggered.
        if (vector != kNoInterrupt) interruptCPU(cpu, vector);
        if (commandCode.load(std::memory_order_relaxed) != kCommandNone) return lines;
        if (lines == lineLimit) return lines;
    }
}

}  // namespace tavir
