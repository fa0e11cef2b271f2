// The frame end's input and command keys: which command a held key gives, the display
// toggles, the keypad joystick by UseNumpad, and the frame count the host sees.
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "core/frame_end.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/emulation_control.h"
#include "core/joystick_state.h"
#include "host/dik_codes.h"
#include "host/key_state.h"
#include "support/ram_machine.h"

namespace tavir {
namespace {

constexpr uint8_t kF6 = 0x40, kF7 = 0x41, kF9 = 0x43, kF10 = 0x44;

class CommandKeyTest : public testing::RAMMachineTest {
protected:
    void SetUp() override {
        RAMMachineTest::SetUp();
        std::memset(keyState, 0, sizeof keyState);
        display.displayMode = 0;
        fullScreen = false;
    }
    void TearDown() override {
        display.displayMode = 0;
        fullScreen = false;
        std::memset(keyState, 0, sizeof keyState);
        RAMMachineTest::TearDown();
    }
    static void press(uint8_t code) { keyState[code] = kKeyDown; }
};

TEST_F(CommandKeyTest, EachKeyGivesItsCommand) {
    const struct {
        uint8_t key;
        uint8_t code;
    } cases[] = {{dik::kF12, kCommandQuit},
                 {kF6, kCommandDiskA},
                 {kF7, kCommandDiskB},
                 {kF9, kCommandSaveState},
                 {kF10, kCommandLoadState},
                 {dik::kLeftWindows, kCommandRecreateDisplay},
                 {dik::kRightWindows, kCommandRecreateDisplay},
                 {dik::kRightShift, kCommandNone},  // the modifier alone does nothing
                 {0x42, kCommandNone}};             // nor does the screenshot key
    for (const auto& c : cases) {
        std::memset(keyState, 0, sizeof keyState);
        commandCode.store(kCommandNone);
        press(c.key);
        testCommandKeys();
        EXPECT_EQ(commandCode.load(), c.code) << "key " << int(c.key);
    }
}

TEST_F(CommandKeyTest, ConfiguredKeysReplaceTheDefaults) {
    settings.CommandKey[kCommandKeyQuit] = 0x10;  // Q
    press(dik::kF12);
    testCommandKeys();
    EXPECT_EQ(commandCode.load(), kCommandNone);
    press(0x10);
    testCommandKeys();
    EXPECT_EQ(commandCode.load(), kCommandQuit);
}

TEST_F(CommandKeyTest, DisplayTogglesFlipSizeAndFullScreen) {
    press(dik::kLeftWindows);
    testCommandKeys();
    EXPECT_EQ(display.displayMode, 1);
    display.displayMode = 5;  // an unusual DisplayMode from msx.cfg comes back to a real size
    testCommandKeys();
    EXPECT_EQ(display.displayMode, 0);

    std::memset(keyState, 0, sizeof keyState);
    press(dik::kRightWindows);
    testCommandKeys();
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(display.displayMode, 0);
    testCommandKeys();
    EXPECT_FALSE(fullScreen);
}

TEST_F(CommandKeyTest, KeysDoNotBreakTheHoldForAnOpenDialog) {
    commandCode.store(kCommandHoldForDialog);
    press(kF6);
    testCommandKeys();
    EXPECT_EQ(commandCode.load(), kCommandHoldForDialog);
}

class FrameEndTest : public CommandKeyTest {
protected:
    void SetUp() override {
        CommandKeyTest::SetUp();
        joystickState[0] = joystickState[1] = kJoystickAtRest;
        setHeadlessKey(dik::kNumpad4, true);
        setHeadlessKey(dik::kNumpad0, true);
    }
    void TearDown() override {
        joystickState[0] = joystickState[1] = kJoystickAtRest;
        CommandKeyTest::TearDown();
    }
};

TEST_F(FrameEndTest, KeypadIsTheJoystickUseNumpadNames) {
    constexpr uint8_t kRest = kJoystickAtRest;
    constexpr uint8_t kLeftAndA = kJoystickAtRest & ~(kJoystickLeft | kJoystickTriggerA);
    const struct {
        uint8_t useNumpad, joystick1, joystick2;
    } cases[] = {{1, kLeftAndA, kRest}, {2, kRest, kLeftAndA}, {0, kRest, kRest},
                 {3, kRest, kRest},     {255, kRest, kRest}};
    for (const auto& c : cases) {
        joystickState[0] = joystickState[1] = kJoystickAtRest;
        settings.UseNumpad = c.useNumpad;
        endFrame();
        EXPECT_EQ(joystickState[0], c.joystick1) << int(c.useNumpad);
        EXPECT_EQ(joystickState[1], c.joystick2) << int(c.useNumpad);
    }
}

TEST_F(FrameEndTest, HeldCommandKeyStopsTheRunLoopAfterTheFrame) {
    setHeadlessKey(dik::kF12, true);
    cpu.pc = 0x0100;
    EXPECT_EQ(runScanLines(cpu, kNoLineLimit), 256u);
    EXPECT_EQ(commandCode.load(), kCommandQuit);
    EXPECT_EQ(frameEndState.framesRun, 1u);
}

}  // namespace
}  // namespace tavir
