// Pacing against the host clock at 60 frames per second, with frame skipping: a frame
// that ends after the next frame's deadline leaves the next frame undrawn (the machine
// still runs it), and a host that stays behind for 15 frames in a row restarts the
// schedule instead of racing to catch up.
#pragma once

#include <cstdint>

namespace tavir {

struct FramePacing {
    uint32_t periodStart;  // host milliseconds at which the current second began
    int frameNumber;       // 1-based frame within the current second
    int lateFrames;        // consecutive frames that ended past the next deadline
    int skippedFrames;     // frames of the current second left undrawn
    bool drawThisFrame;    // the renderer draws this frame's lines
    bool paced;            // false: no waiting, every frame counts as on time and is drawn
};

extern FramePacing framePacing;

// The schedule restarts now, at frame 1, drawn. Each entry to the run loop does this.
void startPacing();

// Waits until the current frame's deadline and returns the milliseconds elapsed since
// the period start. Unpaced, it returns the deadline itself at once.
uint32_t waitForFrameDeadline();

// Chooses whether the next frame is drawn from the elapsed time at this frame's end, and
// logs "skipped / frames" once per second and on every restart of the schedule.
void decideNextFrame(uint32_t elapsed);

}  // namespace tavir
