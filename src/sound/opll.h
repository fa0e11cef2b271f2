// The OPLL's (YM2413) register file behind ports 0x7C/0x7D. The chip is not synthesised:
// its register writes become MIDI messages.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kOPLLRegisterCount = 0x39;  // registers 0x00-0x38

struct OPLLState {
    uint8_t opllIndex;  // port 0x7C, all eight bits kept
    uint8_t opllRegisters[kOPLLRegisterCount];
};

extern OPLLState opll;

// Port 0x7C.
inline void selectOPLLRegister(uint8_t value) {
    opll.opllIndex = value;
}

// Port 0x7D: one data write at register `opllIndex`.
void writeOPLL(uint8_t value);

}  // namespace tavir
