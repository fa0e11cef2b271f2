// The keyboard matrix rebuilt from the host keyboard through KeyMap, and the keypad
// standing in for a joystick.
#include "core/keyboard_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/joystick_state.h"
#include "core/settings.h"
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

TEST_F(KeyboardMatrixTest, MappedKeysDriveTheirBitsWhileHeld) {
    settings.KeyMap[2][0] = 0x1E;
    settings.KeyMap[5][3] = 0x1E;  // one key on two bits drives both
    settings.KeyMap[5][4] = 0x1F;  // another key, not held
    settings.KeyMap[5][7] = 0x20;
    setHeadlessKey(0x1E, true);
    setHeadlessKey(0x20, true);
    pollKeyboard();
    EXPECT_EQ(matrix()[2], 0xFE);
    EXPECT_EQ(matrix()[5], 0x77);
    for (int row : {0, 1, 3, 4, 6, 7, 8}) EXPECT_EQ(matrix()[row], 0xFF) << "row " << row;
    setHeadlessKey(0x1E, false);
    pollKeyboard();
    EXPECT_EQ(matrix()[2], 0xFF);
    EXPECT_EQ(matrix()[5], 0x7F);
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
    uint8_t joystickFrom(std::vector<uint8_t> keys, int index = 0) {
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

TEST_F(NumpadJoystickTest, EachKeyClearsItsBitAndLeftAndUpWin) {
    const struct {
        std::vector<uint8_t> keys;
        uint8_t expected;
    } cases[] = {
        {{}, 0x3F},
        {{dik::kNumpad8}, 0x3E},
        {{dik::kNumpad2}, 0x3D},
        {{dik::kNumpad4}, 0x3B},
        {{dik::kNumpad6}, 0x37},
        {{dik::kNumpad0}, 0x2F},
        {{dik::kDecimal}, 0x1F},
        {{dik::kNumpad4, dik::kNumpad6}, 0x3B},
        {{dik::kNumpad8, dik::kNumpad2}, 0x3E},
        {{dik::kNumpad4, dik::kNumpad6, dik::kNumpad8, dik::kNumpad2, dik::kNumpad0,
          dik::kDecimal},
         0x3F & ~(0x04 | 0x01 | 0x10 | 0x20)},
    };
    for (const auto& c : cases) EXPECT_EQ(joystickFrom(c.keys), c.expected) << int(c.expected);
}

TEST_F(NumpadJoystickTest, WritesOnlyItsIndex) {
    EXPECT_EQ(joystickFrom({dik::kNumpad6, dik::kNumpad0}, 1), 0x27);
    EXPECT_EQ(joystickState[0], 0x3F);
}

}  // namespace
}  // namespace tavir
