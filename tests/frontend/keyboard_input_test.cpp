// The keyboard matrix rebuilt from the host keyboard through KeyMap, and the keypad
// standing in for a joystick.
#include "frontend/keyboard_input.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frontend/joystick_state.h"
#include "frontend/settings.h"
#include "host/dik_codes.h"
#include "host/headless_host.h"
#include "host/key_state.h"
#include "memory/io_ports.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

class KeyboardMatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        installHeadlessHost(HeadlessClock::kManual);
        resetPortDevices();
    }
    void TearDown() override {
        settings = Settings{};
        installHeadlessHost(HeadlessClock::kReal);
        resetPortDevices();
    }
    static void holdEveryKey() {
        for (int code = 1; code < 256; ++code) setHeadlessKey(static_cast<uint8_t>(code), true);
    }
    static const uint8_t* matrix() { return portDevices.keyboardMatrix; }
};

TEST_F(KeyboardMatrixTest, WithoutKeyMapNothingIsEverPressed) {
    holdEveryKey();
    pollKeyboard();
    for (int row = 0; row < 16; ++row) EXPECT_EQ(matrix()[row], 0xFF) << "row " << row;
}

TEST_F(KeyboardMatrixTest, KeyMapLineFromMsxCfgDrivesItsBit) {
    testing::TemporaryWorkingDirectory directory;
    testing::writeTextFile(directory.path() / "msx.cfg", ".KeyMap0 = 1c 00 00 00 00 00 00 00\n");
    ASSERT_TRUE(readMachineSettings(settings));

    setHeadlessKey(dik::kReturn, true);
    pollKeyboard();
    EXPECT_EQ(matrix()[0], 0x7F);
    for (int row = 1; row < 9; ++row) EXPECT_EQ(matrix()[row], 0xFF) << "row " << row;

    setHeadlessKey(dik::kReturn, false);
    pollKeyboard();
    EXPECT_EQ(matrix()[0], 0xFF);
}

TEST_F(KeyboardMatrixTest, KeyMappedTwiceDrivesBothBits) {
    settings.KeyMap[2][0] = 0x1E;
    settings.KeyMap[5][3] = 0x1E;
    settings.KeyMap[5][4] = 0x1F;  // another key, not held
    setHeadlessKey(0x1E, true);
    pollKeyboard();
    EXPECT_EQ(matrix()[2], 0xFE);
    EXPECT_EQ(matrix()[5], 0xF7);
}

TEST_F(KeyboardMatrixTest, SeveralKeysOfARowCombine) {
    for (int bit = 0; bit < 8; ++bit) settings.KeyMap[8][bit] = static_cast<uint8_t>(0x10 + bit);
    setHeadlessKey(0x10, true);
    setHeadlessKey(0x17, true);
    setHeadlessKey(0x13, true);
    pollKeyboard();
    EXPECT_EQ(matrix()[8], 0xFF & ~0x89);
}

TEST_F(KeyboardMatrixTest, RowsPastTheHostKeyboardAreLeftAlone) {
    for (auto& row : settings.KeyMap)
        for (auto& code : row) code = dik::kNumpad4;
    std::memset(portDevices.keyboardMatrix + 9, 0xA5, 7);  // as a playback might leave them
    setHeadlessKey(dik::kNumpad4, true);
    pollKeyboard();
    for (int row = 0; row < 9; ++row) EXPECT_EQ(matrix()[row], 0x00) << "row " << row;
    for (int row = 9; row < 16; ++row) EXPECT_EQ(matrix()[row], 0xA5) << "row " << row;

    resetPortDevices();
    pollKeyboard();
    for (int row = 9; row < 16; ++row) EXPECT_EQ(matrix()[row], 0xFF) << "row " << row;
}

class NumpadJoystickTest : public KeyboardMatrixTest {
protected:
    uint8_t joystickFrom(std::initializer_list<uint8_t> keys, int index = 0) {
        std::memset(keyState, 0, sizeof keyState);
        for (uint8_t key : keys) keyState[key] = kKeyDown;
        joystickState[0] = joystickState[1] = 0x3F;
        numpadJoystick(index);
        return joystickState[index];
    }
    void TearDown() override {
        std::memset(keyState, 0, sizeof keyState);
        joystickState[0] = joystickState[1] = kJoystickAtRest;
        KeyboardMatrixTest::TearDown();
    }
};

TEST_F(NumpadJoystickTest, EachKeyClearsItsBit) {
    EXPECT_EQ(joystickFrom({}), 0x3F);
    EXPECT_EQ(joystickFrom({dik::kNumpad8}), 0x3E);
    EXPECT_EQ(joystickFrom({dik::kNumpad2}), 0x3D);
    EXPECT_EQ(joystickFrom({dik::kNumpad4}), 0x3B);
    EXPECT_EQ(joystickFrom({dik::kNumpad6}), 0x37);
    EXPECT_EQ(joystickFrom({dik::kNumpad0}), 0x2F);
    EXPECT_EQ(joystickFrom({dik::kDecimal}), 0x1F);
}

TEST_F(NumpadJoystickTest, LeftAndUpWinOverTheirOpposites) {
    EXPECT_EQ(joystickFrom({dik::kNumpad4, dik::kNumpad6}), 0x3B);
    EXPECT_EQ(joystickFrom({dik::kNumpad8, dik::kNumpad2}), 0x3E);
    EXPECT_EQ(joystickFrom({dik::kNumpad4, dik::kNumpad6, dik::kNumpad8, dik::kNumpad2,
                            dik::kNumpad0, dik::kDecimal}),
              0x3F & ~(0x04 | 0x01 | 0x10 | 0x20));
}

TEST_F(NumpadJoystickTest, WritesOnlyItsIndex) {
    EXPECT_EQ(joystickFrom({dik::kNumpad6, dik::kNumpad0}, 1), 0x27);
    EXPECT_EQ(joystickState[0], 0x3F);
}

}  // namespace
}  // namespace tavir
