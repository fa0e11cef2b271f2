// Changing the disk by key: the disk key stops the machine, a selection key picks the
// disk of the set, and the routine waits for the keys to be let go.
#include <gtest/gtest.h>

#include "core/emulation_control.h"
#include "disk/disk_fixture.h"
#include "disk/drive_state.h"
#include "frontend/command_routine.h"
#include "core/joystick_input.h"
#include "core/settings.h"
#include "host/headless_host.h"
#include "host/host_layer.h"

namespace tavir::testing {
namespace {

class CommandRoutineTest : public DiskTest {
protected:
    void SetUp() override {
        DiskTest::SetUp();
        installHeadlessHost(HeadlessClock::kManual);
        writePatternImage("one.dsk", 1440);
        writePatternImage("two.dsk", 1440);
        writePatternImage("three.dsk", 1440);
        mountSets("one.dsk\ntwo.dsk\nthree.dsk\n", "one.dsk\ntwo.dsk\nthree.dsk\n");
        emulationStopRequested.store(false);
    }
    void TearDown() override {
        installHeadlessHost(HeadlessClock::kReal);
        commandCode.store(kCommandNone);
        DiskTest::TearDown();
    }
};

TEST_F(CommandRoutineTest, SelectionKeyPutsThatDiskIntoTheDrive) {
    ASSERT_EQ(drives[0].diskNumber, 1u);
    commandCode.store(kCommandDiskA);
    setHeadlessKey(0x04, true);  // the key 3
    commandRoutine();
    EXPECT_EQ(drives[0].diskNumber, 3u);
    EXPECT_EQ(drives[1].diskNumber, 1u) << "the other drive keeps its disk";

    commandCode.store(kCommandDiskB);
    setHeadlessKey(0x03, true);  // the key 2
    commandRoutine();
    EXPECT_EQ(drives[1].diskNumber, 2u);
}

TEST_F(CommandRoutineTest, EscapeCancelsAndTheFirstKeyInOrderWins) {
    commandCode.store(kCommandDiskA);
    setHeadlessKey(0x01, true);  // Escape
    commandRoutine();
    EXPECT_EQ(drives[0].diskNumber, 1u);

    setHeadlessKey(0x10, true);  // Q: disk 11, not in the set
    setHeadlessKey(0x03, true);  // 2 is tested before Q
    commandRoutine();
    EXPECT_EQ(drives[0].diskNumber, 2u);
}

TEST_F(CommandRoutineTest, AStopRequestEndsTheWait) {
    commandCode.store(kCommandDiskA);
    emulationStopRequested.store(true);  // no key will ever come
    commandRoutine();
    EXPECT_EQ(drives[0].diskNumber, 1u);
}

}  // namespace
}  // namespace tavir::testing

namespace tavir::testing {
namespace {

// A host joystick whose button 3 is held for a number of reads.
int button3Reads = 0;
bool heldJoystick(uint8_t, JoystickPosition* position) {
    *position = {32768, 32768, button3Reads > 0 ? kJoystickButton3 : 0u};
    if (button3Reads > 0) --button3Reads;
    return true;
}

class JoystickPauseTest : public CommandRoutineTest {
protected:
    void SetUp() override {
        CommandRoutineTest::SetUp();
        settings.Joypad1 = 0;
        host.readJoystick = heldJoystick;
    }
    void TearDown() override {
        settings = Settings{};
        CommandRoutineTest::TearDown();
    }
};

TEST_F(JoystickPauseTest, DiskKeysWorkWhileButton3IsHeld) {
    button3Reads = 3;
    setHeadlessKey(settings.CommandKey[kCommandKeyDiskA], true);
    setHeadlessKey(0x03, true);  // the key 2
    joystickPause(0);
    EXPECT_EQ(drives[0].diskNumber, 2u);
    EXPECT_EQ(button3Reads, 0) << "the pause lasts as long as the button";
}

TEST_F(JoystickPauseTest, NoButtonOrNoJoystickReturnsAtOnce) {
    button3Reads = 0;
    setHeadlessKey(settings.CommandKey[kCommandKeyDiskA], true);
    setHeadlessKey(0x03, true);
    joystickPause(0);
    EXPECT_EQ(drives[0].diskNumber, 1u);

    button3Reads = 5;
    joystickPause(1);  // Joypad2 is 0xFF: no joystick
    EXPECT_EQ(button3Reads, 5);
    EXPECT_EQ(drives[0].diskNumber, 1u);
}

}  // namespace
}  // namespace tavir::testing
