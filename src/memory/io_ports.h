// The I/O port map behind the Z80's IN and OUT instructions, and the small devices that
// live in it: the PPI (slot select, keyboard row select) and the serial and printer stubs.
#pragma once

#include <cstdint>

namespace tavir {

struct PortDevices {
    uint8_t keyboardMatrix[16];  // bit clear while the key is down
    uint8_t ppiPortC;            // bits 3-0 keyboard row, bit 7 key click
    uint8_t ppiMode;             // last PPI control write with bit 7 set
    uint8_t serialMode;          // 8251 mode byte; bits 3-2 character length
};

extern PortDevices portDevices;

// Part of every machine reset: the matrix released, the serial mode cleared. PPI port C
// and its mode byte keep their values.
void resetPortDevices();

// Only the low 8 bits of the port number count (the CPU passes the low byte of its port
// address). Neither adds Z80 cycles. Unlisted ports read 0xFF and ignore writes.
uint8_t inPort(uint8_t port);
void outPort(uint8_t port, uint8_t value);

}  // namespace tavir
