// Host joysticks into the MSX joystick bytes: the axis thresholds, the buttons, the
// alternating poll, the keypad's ownership of an index and joysticks that are not there.
#include "core/joystick_input.h"

#include <gtest/gtest.h>

#include "core/emulation_control.h"
#include "core/joystick_state.h"
#include "core/settings.h"
#include "host/headless_host.h"
#include "host/host_layer.h"

namespace tavir {
namespace {

constexpr uint32_t kCentre = 32768;

// The centre band is inclusive at both ends; buttons 1 and 2 are the triggers, button 3
// and those above never show, and bits 7-6 stay 0.
TEST(JoystickPosition, AxesAndButtonsBecomeThePortByte) {
    const struct { uint32_t x, y, buttons; uint8_t expected; } cases[] = {
        {16384, kCentre, 0, 0x3F},          {49152, kCentre, 0, 0x3F},
        {16383, kCentre, 0, 0x3F & ~kJoystickLeft}, {49153, kCentre, 0, 0x3F & ~kJoystickRight},
        {kCentre, 16383, 0, 0x3F & ~kJoystickUp},   {kCentre, 49153, 0, 0x3F & ~kJoystickDown},
        {0, 65535, 0, 0x3F & ~kJoystickLeft & ~kJoystickDown},
        {kCentre, kCentre, 0x1, 0x3F & ~kJoystickTriggerA}, {kCentre, kCentre, 0x2, 0x3F & ~kJoystickTriggerB},
        {kCentre, kCentre, 0x4, 0x3F}, {kCentre, kCentre, 0x7, 0x0F}, {kCentre, kCentre, 0xFFFFFFF8u, 0x3F},
    };
    for (const auto& c : cases)
        EXPECT_EQ(joystickByteFromPosition(c.x, c.y, c.buttons), c.expected) << c.x << " " << c.y << " " << c.buttons;
}

// A scripted host with joystick 3 and joystick 5 attached; every read is counted.
struct FakeJoysticks {
    JoystickPosition three{kCentre, kCentre, 0};
    JoystickPosition five{kCentre, kCentre, 0};
    bool fivePresent = true;
    int reads = 0;
};
FakeJoysticks fake;

bool readFake(uint8_t device, JoystickPosition* position) {
    ++fake.reads;
    if (device == 3)
        *position = fake.three;
    else if (device == 5 && fake.fivePresent)
        *position = fake.five;
    else
        return false;
    return true;
}

class JoystickPollTest : public ::testing::Test {
protected:
    void SetUp() override {
        installHeadlessHost(HeadlessClock::kManual);
        host.readJoystick = readFake;
        fake = FakeJoysticks{};
        settings = Settings{};
        settings.Joypad1 = 3;
        settings.Joypad2 = 5;
        resetJoystickPhase();
        joystickState[0] = joystickState[1] = 0;  // so every write shows
        commandCode.store(kCommandNone);
    }
    void TearDown() override {
        installHeadlessHost(HeadlessClock::kReal);
        settings = Settings{};
        resetJoystickPhase();
        joystickState[0] = joystickState[1] = kJoystickAtRest;
        commandCode.store(kCommandNone);
    }
};

TEST_F(JoystickPollTest, IndexesTakeTurnsStartingWithIndexZero) {
    fake.three.x = 0;     // left on joystick 1
    fake.five.y = 65535;  // down on joystick 2
    pollJoystick();
    EXPECT_EQ(joystickState[0], 0x3F & ~kJoystickLeft);
    EXPECT_EQ(joystickState[1], 0) << "index 1 is read on the next frame only";
    pollJoystick();
    EXPECT_EQ(joystickState[1], 0x3F & ~kJoystickDown);

    fake.three.x = kCentre;
    pollJoystick();
    EXPECT_EQ(joystickState[0], 0x3F);
    EXPECT_EQ(fake.reads, 3);
}

TEST_F(JoystickPollTest, TheKeypadOwnsItsIndex) {
    settings.UseNumpad = 1;
    fake.three.x = 0;
    pollJoystick();  // index 0: the keypad's, left alone
    EXPECT_EQ(joystickState[0], 0);
    EXPECT_EQ(fake.reads, 0);
    pollJoystick();  // index 1 is still read
    EXPECT_EQ(joystickState[1], 0x3F);
    EXPECT_EQ(fake.reads, 1);
}

TEST_F(JoystickPollTest, ButtonThreeRaisesThePauseOfItsIndex) {
    fake.five.buttons = 0x4;
    pollJoystick();
    EXPECT_EQ(commandCode.load(), kCommandNone);
    pollJoystick();
    EXPECT_EQ(commandCode.load(), kCommandJoystick2Pause);
    EXPECT_EQ(joystickState[1], 0x3F);

    commandCode.store(kCommandNone);
    fake.three.buttons = 0x4;
    pollJoystick();
    EXPECT_EQ(commandCode.load(), kCommandJoystick1Pause);

    commandCode.store(kCommandHoldForDialog);  // never breaks the hold for a dialog
    pollJoystick();
    pollJoystick();
    EXPECT_EQ(commandCode.load(), kCommandHoldForDialog);
}

}  // namespace
}  // namespace tavir
