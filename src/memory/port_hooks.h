// Where the machine's output that nothing in the emulator consumes ends up: the printer
// port, the serial port and the PPI's key-click line. Nothing listens yet; a front end that
// wants to capture printer output or play the click fills these in.
#pragma once

#include <cstdint>

namespace tavir {

// A byte written to the printer data port 0x91.
inline void printerHook(uint8_t /*value*/) {}

// A byte written to the serial data port 0x80, already cut to the character length.
inline void serialHook(uint8_t /*value*/) {}

// The key-click bit (PPI port C bit 7: 0x80 or 0) after every PPI control write.
inline void keyClickHook(uint8_t /*level*/) {}

}  // namespace tavir
