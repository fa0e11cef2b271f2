// The emulation thread on C-BIOS with scripted keys: how the quit key, its modifier, the
// display toggles and a stop request end or continue the emulation.
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "frontend/emulation_thread.h"

#include <gtest/gtest.h>

#include "core/emulation_control.h"
#include "core/frame_end.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "host/dik_codes.h"
#include "host/headless_host.h"
#include "support/headless_machine.h"

namespace tavir {
namespace {

using EmulationThreadTest = testing::HeadlessMachineTest;

TEST_F(EmulationThreadTest, QuitKeyResetsTheMachineAndEndsTheThread) {
    ASSERT_TRUE(addScriptedKey(3, dik::kF12, 1));
    headlessHost.frameLimit = 10;
    EXPECT_EQ(emulationThread(), 0);
    EXPECT_EQ(frameEndState.framesRun, 3u);
    EXPECT_FALSE(emulationRunning.load());
    EXPECT_EQ(cpu.pc, 0x0000);  // reset before the end
    EXPECT_EQ(cpu.sp, 0xF000);
}

TEST_F(EmulationThreadTest, QuitKeyWithModifierOnlyResets) {
    ASSERT_TRUE(addScriptedKey(3, dik::kF12, 1));
    ASSERT_TRUE(addScriptedKey(3, dik::kRightShift, 1));
    headlessHost.frameLimit = 10;
    EXPECT_EQ(emulationThread(), 0);
    EXPECT_EQ(frameEndState.framesRun, 10u);  // ran on to the frame limit
}

TEST_F(EmulationThreadTest, StopRequestEndsTheThreadEvenWithTheModifierHeld) {
    ASSERT_TRUE(addScriptedKey(1, dik::kRightShift, 1000));
    headlessHost.frameLimit = 5;
    EXPECT_EQ(emulationThread(), 0);
    EXPECT_EQ(frameEndState.framesRun, 5u);
    EXPECT_FALSE(emulationRunning.load());
}

TEST_F(EmulationThreadTest, HeldSizeKeyTogglesOnceAndTheEmulationGoesOn) {
    ASSERT_TRUE(addScriptedKey(3, dik::kLeftWindows, 4));
    headlessHost.frameLimit = 10;
    EXPECT_EQ(emulationThread(), 0);
    EXPECT_EQ(frameEndState.framesRun, 10u);
    EXPECT_EQ(display.displayMode, 1);
}

}  // namespace
}  // namespace tavir
