#include "sound/psg.h"

#include <gtest/gtest.h>

#include "core/joystick_state.h"
#include "memory/io_ports.h"
#include "support/started_machine.h"

namespace tavir {
namespace {

void writeRegister(int index, uint8_t value) {
    outPort(0xA0, static_cast<uint8_t>(index));
    outPort(0xA1, value);
}

uint8_t readRegister(int index) {
    outPort(0xA0, static_cast<uint8_t>(index));
    return inPort(0xA2);
}

class PSGJoystickTest : public ::testing::Test {
protected:
    void SetUp() override { resetPSG(); }
    void TearDown() override { joystickState[0] = joystickState[1] = kJoystickAtRest; }
};

TEST_F(PSGJoystickTest, RegisterFourteenShowsThePortRegisterFifteenSelects) {
    joystickState[0] = kJoystickAtRest & ~kJoystickUp;        // 0x3E
    joystickState[1] = kJoystickAtRest & ~kJoystickTriggerA;  // 0x2F

    writeRegister(15, 0x40);
    EXPECT_EQ(readRegister(14), 0xFE) << "port 1; bits 7-6 from the reset value 0xFF";
    writeRegister(15, 0xBF);
    EXPECT_EQ(readRegister(14), 0xEF) << "bit 6 clear: port 2";

    writeRegister(14, 0x7F);  // only bits 7-6 of what is written show
    EXPECT_EQ(readRegister(14), 0x6F);
    writeRegister(15, 0x4F);
    EXPECT_EQ(readRegister(14), 0x7E);
    EXPECT_EQ(readRegister(15), 0x4F) << "register 15 reads as written";
}

using StartedPSGTest = testing::StartedMachineTest;

TEST_F(StartedPSGTest, EveryResetFillsTheRegisterFileWithFF) {
    for (int index = 0; index < 16; ++index) EXPECT_EQ(readRegister(index), 0xFF) << index;
    for (int index = 0; index < 16; ++index) writeRegister(index, static_cast<uint8_t>(index));
    for (int index = 0; index < 16; ++index) {
        if (index == 14) continue;  // shows the joystick port, tested above
        EXPECT_EQ(readRegister(index), index) << index;
    }

    resetMachine(cpu);
    for (int index = 0; index < 16; ++index) EXPECT_EQ(psg.psgRegisters[index], 0xFF) << index;
}

}  // namespace
}  // namespace tavir
