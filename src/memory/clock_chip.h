// The real-time clock chip behind ports 0xB4/0xB5: block 0 reads the host's local time,
// blocks 1-3 are plain memory.
#pragma once

#include <cstdint>
#include <ctime>

namespace tavir {

constexpr int kClockBlockSize = 13;  // registers 0-12 of each block
constexpr int kClockModeRegister = 13;

struct ClockChip {
    uint8_t index;  // register index, 0-15
    uint8_t mode;   // register 13; bits 1-0 select the block
    uint8_t memory[4][kClockBlockSize];
};

extern ClockChip clockChip;

// Where the time digits of block 0 come from. The host's local time by default; tests and
// the headless runner install a fixed clock.
using ClockTimeSource = std::tm (*)();
std::tm hostLocalTime();
void setClockTimeSource(ClockTimeSource source);

// Start-up only: the memory survives resets.
void initClockMemory();

// Part of every machine reset: index and mode back to 0.
void resetClockChip();

// Port 0xB4: only the low four bits select a register.
inline void selectClockRegister(uint8_t value) {
    clockChip.index = value & 0x0F;
}

// Port 0xB5.
void writeClockChip(uint8_t value);
uint8_t readClockChip();

}  // namespace tavir
