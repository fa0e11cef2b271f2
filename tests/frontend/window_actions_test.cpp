// The window's menu choices on a real machine and emulation thread (C-BIOS, headless
// host): one thread at a time, a restart after the quit key, the disk dialog's hold and
// outcome, and the orderly stop at the end.
#include "frontend/window_actions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/emulation_control.h"
#include "core/frame_end.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "disk/drive_state.h"
#include "core/log.h"
#include "host/dik_codes.h"
#include "host/headless_host.h"
#include "support/headless_machine.h"

namespace tavir {
namespace {

constexpr uint32_t kGenerousStopMilliseconds = 10000;

class WindowActionsTest : public testing::HeadlessMachineTest {
protected:
    void TearDown() override {
        EXPECT_TRUE(stopEmulationForShutdown(kGenerousStopMilliseconds));
        HeadlessMachineTest::TearDown();
    }
    // Waits (without a time limit of its own that a slow machine could miss) for the
    // thread to end by itself; the suite's timeout catches a thread that never does.
    static void waitForThreadEnd() {
        while (emulationThreadAlive()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

TEST_F(WindowActionsTest, ASecondStartCPUIsRefusedAndExitStopsTheOne) {
    ASSERT_TRUE(startCPUFromMenu());
    EXPECT_TRUE(emulationThreadAlive());
    EXPECT_FALSE(startCPUFromMenu());
    EXPECT_TRUE(stopEmulationForShutdown(kGenerousStopMilliseconds));
    EXPECT_FALSE(emulationThreadAlive());  // TearDown's shutdown then finds nothing to stop
}

TEST_F(WindowActionsTest, AfterTheQuitKeyStartCPUStartsAgain) {
    ASSERT_TRUE(addScriptedKey(2, dik::kF12, 1));
    ASSERT_TRUE(startCPUFromMenu());
    waitForThreadEnd();
    EXPECT_EQ(frameEndState.framesRun, 2u);

    headlessHost.script.clear();  // the frame count starts again with the new thread
    headlessHost.frameLimit = 3;  // the new thread runs three frames and stops
    ASSERT_TRUE(startCPUFromMenu());
    waitForThreadEnd();
    EXPECT_EQ(frameEndState.framesRun, 3u);
}

TEST_F(WindowActionsTest, AChosenImageBecomesDiskOneOfItsDrive) {
    testing::writeFile("game.dsk", std::vector<uint8_t>(737280, 0));
    const std::string path = (directory_.path() / "game.dsk").string();
    ASSERT_TRUE(startCPUFromMenu());
    beginDiskDialog();  // at once after the start: the thread's first loop entry clears codes
    EXPECT_EQ(commandCode.load(), kCommandHoldForDialog);
    EXPECT_TRUE(emulationHeld.load()) << "the machine stands still while the dialog is open";
    endDiskDialog(0, path.c_str());
    EXPECT_EQ(commandCode.load(), kCommandNone) << "the machine runs on";
    EXPECT_EQ(drives[0].diskNumber, 1u);
    EXPECT_EQ(testing::readTextFile("singlea.dfd"), path + std::string(1, '\0'));
    EXPECT_TRUE(emulationThreadAlive());
}

// F6 waits for a disk number; the user opens the A: dialog instead. The later action wins:
// the machine stops for the dialog, the image chosen there goes in, and no number is left
// pending.
TEST_F(WindowActionsTest, TheDialogWinsOverADiskKeyStillWaitingForItsNumber) {
    ASSERT_TRUE(openLog());
    testing::writeFile("game.dsk", std::vector<uint8_t>(737280, 0));
    ASSERT_TRUE(addScriptedKey(2, dik::kF6, 1));
    ASSERT_TRUE(startCPUFromMenu());
    while (commandCode.load() != kCommandDiskA)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // into the number's wait
    beginDiskDialog();
    EXPECT_TRUE(emulationHeld.load());
    endDiskDialog(0, "game.dsk");
    EXPECT_EQ(drives[0].diskNumber, 1u);
    EXPECT_TRUE(driveReady(0));
    EXPECT_NE(
        testing::readTextFile(kLogFileName).find("A disk choice by key given up for the dialog.\n"),
        std::string::npos);
}

TEST_F(WindowActionsTest, ACancelledDialogChangesNoDrive) {
    beginDiskDialog();
    endDiskDialog(1, nullptr);
    EXPECT_EQ(commandCode.load(), kCommandNone);
    EXPECT_EQ(drives[1].diskNumber, 0u);
    EXPECT_FALSE(std::filesystem::exists("singleb.dfd"));
}

TEST_F(WindowActionsTest, ClosingTheWindowDuringADialogStillStopsTheThread) {
    ASSERT_TRUE(startCPUFromMenu());
    beginDiskDialog();
    EXPECT_TRUE(stopEmulationForShutdown(kGenerousStopMilliseconds));
    EXPECT_FALSE(emulationThreadAlive());
}

}  // namespace
}  // namespace tavir
