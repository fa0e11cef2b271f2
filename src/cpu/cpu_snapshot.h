// CPUState as the 52-byte little-endian block that snapshots store.
#pragma once

#include <cstdint>

#include "cpu/cpu_state.h"

namespace tavir {

// Layout: 0x00 F, A, C, B, E, D, L, H; 0x08 IX; 0x0A IY; 0x0C PC; 0x0E SP; 0x10 AF';
// 0x12 BC'; 0x14 DE'; 0x16 HL'; 0x18 stateFlags; 0x19 I; 0x1A rCounter; 0x1B unused;
// 0x1C MSXSpeed; 0x20 cycleCount; 0x24 savedCycleCount; 0x28 pendingVector;
// 0x2A-0x33 unused. Unused bytes are written as zero.
void storeCPUState(const CPUState& cpu, uint8_t (&block)[kCPUStateSnapshotSize]);

// Restores every field from `block`; unused bytes are ignored.
void loadCPUState(CPUState& cpu, const uint8_t (&block)[kCPUStateSnapshotSize]);

}  // namespace tavir
