// The real-time clock chip behind ports 0xB4/0xB5: block 0 reads the host's local time,
// blocks 1-3 are plain memory.
#pragma once

#include <cstdint>

namespace tavir {

struct ClockChip {
    uint8_t index;          // register index, 0-15
    uint8_t mode;           // register 13; bits 1-0 select the block
    uint8_t memory[4][13];  // registers 0-12 of each block
};

extern ClockChip clockChip;

// Start-up only: the memory survives resets.
void initClockMemory();

// Part of every machine reset: index and mode back to 0.
void resetClockChip();

}  // namespace tavir
