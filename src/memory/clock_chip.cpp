#include "memory/clock_chip.h"

#include <cstring>

#include "core/input_recording.h"

namespace tavir {

ClockChip clockChip;

namespace {

ClockTimeSource timeSource = hostLocalTime;

// One decimal digit 0-9, whatever the field holds.
uint8_t units(int value) {
    return static_cast<uint8_t>((value % 10 + 10) % 10);
}

// The chip counts years 0-99 from 1980 and wraps; a host clock set before 1980 wraps too
// instead of producing digits above 9.
int yearsSince1980(const std::tm& time) {
    return ((time.tm_year - 80) % 100 + 100) % 100;
}

uint8_t timeDigit(int index, const std::tm& time) {
    switch (index) {
        case 0: return units(time.tm_sec);
        case 1: return units(time.tm_sec / 10);
        case 2: return units(time.tm_min);
        case 3: return units(time.tm_min / 10);
        case 4: return units(time.tm_hour);  // always the 24-hour form
        case 5: return units(time.tm_hour / 10);
        case 6: return units(time.tm_wday);  // 0 = Sunday
        case 7: return units(time.tm_mday);
        case 8: return units(time.tm_mday / 10);
        case 9: return units(time.tm_mon + 1);
        case 10: return units((time.tm_mon + 1) / 10);
        case 11: return units(yearsSince1980(time));
        default: return units(yearsSince1980(time) / 10);
    }
}

// The register as the chip holds it, before the unused high nibble is added.
uint8_t clockRegisterValue() {
    const ClockChip& c = clockChip;
    if (c.index == kClockModeRegister) return c.mode;
    if (c.index > kClockModeRegister) return 0xFF;  // test and reset registers
    const int block = c.mode & 3;
    if (block != 0) return c.memory[block][c.index];
    return timeDigit(c.index, timeSource());
}

}  // namespace

std::tm hostLocalTime() {
    std::tm time{};
    const std::time_t now = std::time(nullptr);
    if (localtime_r(&now, &time) == nullptr) time = std::tm{};
    return time;
}

void setClockTimeSource(ClockTimeSource source) {
    timeSource = source != nullptr ? source : hostLocalTime;
}

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

void writeClockChip(uint8_t value) {
    ClockChip& c = clockChip;
    if (c.index < kClockModeRegister) {
        // Block 0 keeps what is written although its reads always come from the time.
        c.memory[c.mode & 3][c.index] = value;
    } else if (c.index == kClockModeRegister) {
        c.mode = value;
    }
}

// Every clock read passes through here once: the one point where a recording captures
// or replays the value the program sees.
uint8_t readClockChip() {
    const uint8_t value = recordClockRead(clockRegisterValue());
    return value | 0xF0;  // only four data lines: the high nibble floats high
}

}  // namespace tavir
