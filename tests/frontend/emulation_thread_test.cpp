// The emulation thread on C-BIOS with scripted keys: how the quit key, its modifier, the
// display toggles and a stop request end or continue the emulation.
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "frontend/emulation_thread.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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

// Scripted keys (frame, key, frames held) against a frame limit: the quit key resets and
// ends the thread, with the modifier it only resets; a held size key toggles once; the
// frame limit stops the thread whatever is held.
TEST_F(EmulationThreadTest, KeysEndOrContinueTheEmulation) {
    const struct { std::vector<std::tuple<uint32_t, uint8_t, uint32_t>> keys; uint32_t limit, frames; int size; } cases[] = {
        {{{3, dik::kF12, 1}}, 10, 3, 0}, {{{3, dik::kF12, 1}, {3, dik::kRightShift, 1}}, 10, 10, 0},
        {{{1, dik::kRightShift, 1000}}, 5, 5, 0}, {{{3, dik::kLeftWindows, 4}}, 10, 10, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        installHeadlessHost(HeadlessClock::kManual);
        emulationStopRequested.store(false);
        display.displayMode = 0;
        for (auto [frame, key, held] : c.keys) ASSERT_TRUE(addScriptedKey(frame, key, held));
        headlessHost.frameLimit = c.limit;
        EXPECT_EQ(emulationThread(), 0);
        EXPECT_EQ(frameEndState.framesRun, c.frames);
        EXPECT_FALSE(emulationRunning.load());
        EXPECT_EQ(display.displayMode, c.size);
        if (c.frames == 3) {
            EXPECT_EQ(cpu.pc << 16 | cpu.sp, 0x0000F000) << "reset before the end";
        }
    }
}

}  // namespace
}  // namespace tavir
