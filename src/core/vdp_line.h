// The VDP's work at the end of every scan line: the line and vertical-blanking interrupt
// requests, the status flags that go with them, the drawing of the line, and after the
// frame's last line the frame end.
#pragma once

#include "cpu/cpu_state.h"
#include "video/vdp_state.h"

namespace tavir {

constexpr uint8_t kR18AdjustUp = 0x80;  // R#18 bit 7: vertical adjust 8..1

// One line's step for the line `vdp.scanLine`, which it then advances; may set or clear
// cpu.pendingVector.
void vdpLine(CPUState& cpu);

}  // namespace tavir
