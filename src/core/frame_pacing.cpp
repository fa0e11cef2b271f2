#include "core/frame_pacing.h"

#include "core/machine.h"
#include "core/log.h"
#include "host/host_layer.h"
#include "video/frame_buffer.h"

namespace tavir {

FramePacing framePacing = {0, 1, 0, 0, true, true};

namespace {

constexpr int kFramesPerSecond = 60;
// A host this many frames behind in a row is not caught up with: the schedule restarts.
constexpr int kLateFramesBeforeRestart = 14;

}  // namespace

void startPacing() {
    FramePacing& p = framePacing;
    p.periodStart = host.milliseconds();
    p.frameNumber = 1;
    p.lateFrames = 0;
    p.skippedFrames = 0;
    p.drawThisFrame = true;
    display.otherFieldDrawn = 0;  // an interlaced picture starts again with its first field
}

uint32_t waitForFrameDeadline() {
    const uint32_t deadline = frameSchedule[framePacing.frameNumber - 1];
    if (!framePacing.paced) return deadline;
    for (;;) {
        // Unsigned difference: correct across the counter's wrap.
        const uint32_t elapsed = host.milliseconds() - framePacing.periodStart;
        if (elapsed >= deadline) return elapsed;
        host.waitStep(deadline - elapsed);
    }
}

void decideNextFrame(uint32_t elapsed) {
    FramePacing& p = framePacing;
    if (elapsed > frameSchedule[p.frameNumber]) {
        // Already past the next frame's deadline: skip drawing it to catch up.
        if (p.lateFrames++ >= kLateFramesBeforeRestart) {
            logPrint("%d / %d\n", p.skippedFrames, p.frameNumber - 1);
            p.drawThisFrame = true;
            p.lateFrames = 0;
            p.frameNumber = 1;
            p.skippedFrames = 0;
            p.periodStart = host.milliseconds();
        } else {
            p.frameNumber++;
            p.skippedFrames++;
            p.drawThisFrame = false;
        }
    } else {
        p.drawThisFrame = true;
        p.lateFrames = 0;
        p.frameNumber++;
    }
    if (p.frameNumber == kFramesPerSecond + 1) {
        logPrint("%d / %d\n", p.skippedFrames, kFramesPerSecond);
        // Whole seconds from the same origin: no drift accumulates.
        p.periodStart += 1000;
        p.frameNumber = 1;
        p.skippedFrames = 0;
    }
}

}  // namespace tavir
