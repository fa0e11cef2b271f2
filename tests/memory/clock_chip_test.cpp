#include "memory/clock_chip.h"

#include <gtest/gtest.h>

#include "memory/io_ports.h"
#include "support/started_machine.h"

namespace tavir {
namespace {

std::tm makeTime(int year, int month, int day, int weekday, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_wday = weekday;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

std::tm fixedTime;
std::tm readFixedTime() {
    return fixedTime;
}

uint8_t readRegister(int index) {
    outPort(0xB4, static_cast<uint8_t>(index));
    return inPort(0xB5);
}

void writeRegister(int index, uint8_t value) {
    outPort(0xB4, static_cast<uint8_t>(index));
    outPort(0xB5, value);
}

class ClockChipTest : public ::testing::Test {
protected:
    void SetUp() override {
        initClockMemory();
        resetClockChip();
        fixedTime = makeTime(2024, 7, 17, 3, 12, 34, 56);
        setClockTimeSource(readFixedTime);
    }
    void TearDown() override { setClockTimeSource(hostLocalTime); }
};

TEST_F(ClockChipTest, BlockZeroReadsTheTimeOneDecimalDigitPerRegister) {
    fixedTime = makeTime(2031, 12, 29, 1, 23, 7, 8);
    const uint8_t expected[13] = {
        0xF8, 0xF0,  // seconds 08
        0xF7, 0xF0,  // minutes 07
        0xF3, 0xF2,  // hours 23, never a 12-hour form
        0xF1,        // Monday
        0xF9, 0xF2,  // day 29
        0xF2, 0xF1,  // month 12 (the host counts months from 0)
        0xF1, 0xF5,  // year 51 since 1980
    };
    for (int index = 0; index < 13; ++index)
        EXPECT_EQ(readRegister(index), expected[index]) << "register " << index;
}

TEST_F(ClockChipTest, BlocksOneToThreeAreMemoryAndBlockZeroWritesDoNotReachTheTime) {
    writeRegister(13, 0x02);
    writeRegister(0, 0x0A);
    EXPECT_EQ(readRegister(0), 0xFA);

    writeRegister(13, 0x00);
    writeRegister(0, 0x03);
    writeRegister(5, 0x07);
    EXPECT_EQ(readRegister(0), 0xF6) << "still the seconds";
    EXPECT_EQ(readRegister(5), 0xF1) << "still the hours' tens";
    writeRegister(13, 0x0E);  // bits 3-2 are the timer and alarm enables: block is still 2
    EXPECT_EQ(readRegister(0), 0xFA);
}

using StartedClockTest = testing::StartedMachineTest;

TEST_F(StartedClockTest, StartUpSetsBlockTwoAndAResetKeepsItsMemory) {
    writeRegister(13, 0x02);
    const uint8_t expected[13] = {0xF0, 0xF0, 0xF0, 0xF0, 0xF8, 0xF0, 0xFF,
                                  0xF4, 0xF4, 0xF0, 0xF0, 0xF0, 0xF0};
    for (int index = 0; index < 13; ++index)
        EXPECT_EQ(readRegister(index), expected[index]) << "register " << index;

    writeRegister(0, 0x09);
    resetMachine(cpu);
    EXPECT_EQ(readRegister(13), 0xF0) << "a reset clears the mode";
    writeRegister(13, 0x02);
    EXPECT_EQ(readRegister(0), 0xF9) << "but keeps the memory";
}

}  // namespace
}  // namespace tavir
