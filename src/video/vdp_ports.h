// The VDP's four I/O ports as the port map reaches them: IN 0x98/0x99, OUT 0x98-0x9B.
#pragma once

#include <cstdint>

namespace tavir {

uint8_t readVDPData();                 // IN 0x98: VRAM through the read-ahead latch
uint8_t readVDPStatus();               // IN 0x99: status register R#15 selects
void writeVDPData(uint8_t value);      // OUT 0x98: VRAM
void writeVDPControl(uint8_t value);   // OUT 0x99: address set-up or register write, in pairs
void writeVDPPalette(uint8_t value);   // OUT 0x9A: palette entry R#16, in pairs
void writeVDPIndirect(uint8_t value);  // OUT 0x9B: the register R#17 points at

}  // namespace tavir
