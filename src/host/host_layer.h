// The seam between the machine and the computer it runs on. The machine never calls the
// operating system itself: it calls through this one table, which start-up fills once with
// the desktop implementation or the headless one. Only per-frame and wait-loop work goes
// through it; nothing on the per-instruction, per-port or per-pixel paths does.
#pragma once

#include <cstdint>

namespace tavir {

// A host joystick's position: axes 0..65535 (centre about 32768), buttons bit 0 = button 1.
struct JoystickPosition {
    uint32_t x, y;
    uint32_t buttons;
};

struct HostLayer {
    // A free-running millisecond counter (it may wrap; callers subtract).
    uint32_t (*milliseconds)();
    // One step of a wait for a deadline `remaining` (>= 1) milliseconds away; the caller
    // re-reads the clock afterwards and steps again while the deadline is ahead. It returns
    // no later than the deadline's millisecond begins (the real clock sleeps right up to it,
    // so the deadline is met as exactly as by spinning, without burning the core).
    void (*waitStep)(uint32_t remaining);
    // One pass of a command's wait loop (keys still held, a dialog still open).
    void (*commandWaitPass)();
    // Copies the 256-byte keyboard state, indexed by DirectInput scan code, bit 7 = down.
    void (*readKeyboard)(uint8_t* state);
    // The emulation thread takes the keyboard when it starts.
    void (*acquireKeyboard)();
    // Called at the very end of every frame with the frames run since the emulation thread
    // started. The headless host advances its key script and stops after its frame limit.
    void (*frameEnded)(uint32_t framesRun);
    // A finished picture is in `frameBuffer`: show it. The headless host keeps it where it is.
    void (*presentPicture)();
    // The frame buffer has just been set up (emulation start, size or full-screen toggle):
    // the host fits its window to a picture of this size, windowed or full screen.
    void (*displayConfigured)(int32_t width, int32_t height, bool fullScreen);
    // Reads host joystick number `device`. False when there is no such joystick now.
    bool (*readJoystick)(uint8_t device, JoystickPosition* position);
};

// The table in use. Until start-up installs another, it is the headless host on the real
// clock, so that every program and test has a working one.
extern HostLayer host;

}  // namespace tavir
