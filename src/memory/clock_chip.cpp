#include "memory/clock_chip.h"

#include <cstring>

namespace tavir {

ClockChip clockChip;

void initClockMemory() {
    std::memset(clockChip.memory, 0, sizeof clockChip.memory);
    // Block 2 as the BIOS expects to find it on a machine never set up.
    const uint8_t block2[] = {0x28, 0x50, 0x0F, 0x04, 0x04};
    std::memcpy(&clockChip.memory[2][4], block2, sizeof block2);
}

void resetClockChip() {
    clockChip.index = 0;
    clockChip.mode = 0;
}

}  // namespace tavir
