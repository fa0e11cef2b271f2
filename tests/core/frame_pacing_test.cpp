// Pacing and frame skipping against the manual clock, with the log lines it writes.
#include "core/frame_pacing.h"

#include <gtest/gtest.h>

#include <string>

#include "core/machine.h"
#include "core/log.h"
#include "host/headless_host.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

constexpr uint32_t kStart = 50000;

class FramePacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fillFrameSchedule();
        installHeadlessHost(HeadlessClock::kManual);
        setHeadlessClock(kStart);
        framePacing.paced = true;
        ASSERT_TRUE(openLog());
        startPacing();
    }
    void TearDown() override {
        closeLog();
        installHeadlessHost(HeadlessClock::kReal);
        framePacing.paced = true;
    }

    std::string logText() {
        closeLog();
        return testing::readTextFile(directory_.path() / kLogFileName);
    }

    uint32_t now() const { return headlessHost.manualMilliseconds; }

    // One frame end whose work took the host until `elapsed` ms into the period.
    void frameEndingAt(uint32_t elapsed) {
        if (now() < framePacing.periodStart + elapsed)
            setHeadlessClock(framePacing.periodStart + elapsed);
        decideNextFrame(waitForFrameDeadline());
    }

    // A frame finishing one millisecond after the next frame's deadline.
    void lateFrame() { frameEndingAt(frameSchedule[framePacing.frameNumber] + 1u); }

    testing::TemporaryWorkingDirectory directory_;
};

TEST_F(FramePacingTest, EarlyFrameWaitsForItsDeadline) {
    advanceHeadlessClock(3);
    EXPECT_EQ(waitForFrameDeadline(), 16u);
    EXPECT_EQ(now(), kStart + 16);
    decideNextFrame(16);
    EXPECT_TRUE(framePacing.drawThisFrame);
    EXPECT_EQ(framePacing.frameNumber, 2);
}

TEST_F(FramePacingTest, FramePastTheNextDeadlineLeavesTheNextUndrawn) {
    frameEndingAt(40);  // frame 1 ends after frame 2's deadline (33)
    EXPECT_FALSE(framePacing.drawThisFrame);
    EXPECT_EQ(framePacing.frameNumber, 2);
    EXPECT_EQ(framePacing.skippedFrames, 1);
    EXPECT_EQ(framePacing.lateFrames, 1);

    frameEndingAt(45);  // frame 2 is past its own deadline but not frame 3's (50)
    EXPECT_TRUE(framePacing.drawThisFrame);
    EXPECT_EQ(framePacing.frameNumber, 3);
    EXPECT_EQ(framePacing.skippedFrames, 1);
    EXPECT_EQ(framePacing.lateFrames, 0);
}

TEST_F(FramePacingTest, FifteenthLateFrameInARowRestartsTheSchedule) {
    for (int i = 0; i < 14; ++i) lateFrame();
    EXPECT_EQ(framePacing.frameNumber, 15);
    EXPECT_EQ(framePacing.skippedFrames, 14);
    EXPECT_FALSE(framePacing.drawThisFrame);

    lateFrame();
    EXPECT_TRUE(framePacing.drawThisFrame);
    EXPECT_EQ(framePacing.frameNumber, 1);
    EXPECT_EQ(framePacing.skippedFrames, 0);
    EXPECT_EQ(framePacing.lateFrames, 0);
    EXPECT_EQ(framePacing.periodStart, now());
    EXPECT_EQ(logText(), "14 / 14\n");
}

TEST_F(FramePacingTest, EachSecondLogsItsSkippedFramesAndMovesOnByExactly1000ms) {
    // Every fifth frame ends late: 12 of the 60 frames go undrawn.
    for (int frame = 1; frame <= 60; ++frame) {
        if (frame % 5 == 0)
            lateFrame();
        else
            frameEndingAt(frameSchedule[frame - 1]);
    }
    EXPECT_EQ(framePacing.frameNumber, 1);
    EXPECT_EQ(framePacing.skippedFrames, 0);
    EXPECT_EQ(framePacing.periodStart, kStart + 1000);

    for (int frame = 1; frame <= 60; ++frame) frameEndingAt(frameSchedule[frame - 1]);
    EXPECT_EQ(framePacing.periodStart, kStart + 2000);
    EXPECT_EQ(logText(), "12 / 60\n0 / 60\n");
}

}  // namespace
}  // namespace tavir
