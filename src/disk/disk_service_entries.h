// The four disk driver services behind the trap; diskService picks one by trap address.
// Each reads its inputs from the Z80 registers and answers in them: on failure A holds the
// driver's error code and F = 0x01 (carry set, nothing else).
#pragma once

#include <cstdint>

#include "cpu/cpu_state.h"

namespace tavir {

// The driver's jump table in the disk ROM.
constexpr uint16_t kDSKIOEntry = 0x4010;
constexpr uint16_t kDSKCHGEntry = 0x4013;
constexpr uint16_t kGETDPBEntry = 0x4016;
constexpr uint16_t kDSKFMTEntry = 0x401C;

inline void reportDiskError(CPUState& cpu, uint8_t code) {
    cpu.af.high = code;
    cpu.af.low = kFlagC;
}

void serviceDSKIO(CPUState& cpu);
void serviceDSKCHG(CPUState& cpu);
void serviceGETDPB(CPUState& cpu);
void serviceDSKFMT(CPUState& cpu);

}  // namespace tavir
