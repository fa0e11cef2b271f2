// The VDP's work at the end of every scan line: the line and vertical-blanking interrupt
// requests, the status flags that go with them, the drawing of the line, and after the
// frame's last line the frame end.
#pragma once

#include "cpu/cpu_state.h"

namespace tavir {

// Bits of the registers and status registers the line step uses.
constexpr uint8_t kR0LineInterruptEnable = 0x10;   // R#0 IE1
constexpr uint8_t kR1FrameInterruptEnable = 0x20;  // R#1 IE0
constexpr uint8_t kR9Lines212 = 0x80;              // R#9 LN
constexpr uint8_t kR18AdjustUp = 0x80;             // R#18 bit 7: vertical adjust 8..1
constexpr uint8_t kS0FrameFlag = 0x80;             // S#0 F
constexpr uint8_t kS0Collision = 0x20;             // S#0 C
constexpr uint8_t kS1LineFlag = 0x01;              // S#1 FH
constexpr uint8_t kS2EvenOdd = 0x02;               // S#2 EO

// One line's step for the line `vdp.scanLine`, which it then advances; may set or clear
// cpu.pendingVector.
void vdpLine(CPUState& cpu);

}  // namespace tavir
