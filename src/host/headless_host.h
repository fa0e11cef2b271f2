// The host without a window: key presses come from a script, the picture stays in the
// frame buffer in memory, and the clock is either the real one or one the caller sets.
// The tests, the benchmarks and the tavir-headless batch runner use it.
#pragma once

#include <cstdint>
#include <vector>

namespace tavir {

// A key held down through frames firstFrame..lastFrame (1-based, inclusive). Frame 1 is
// the first frame the emulation thread runs.
struct ScriptedKey {
    uint32_t firstFrame;
    uint32_t lastFrame;
    uint8_t scanCode;
};

enum class HeadlessClock { kReal, kManual };

struct HeadlessHost {
    std::vector<ScriptedKey> script;  // filled before the emulation starts, never grown after
    uint8_t heldKeys[256];            // keys pressed directly (tests), bit 7 = down
    uint32_t currentFrame;            // the frame now running, 1-based
    uint32_t frameLimit;              // stop the emulation after this many frames; 0 = never
    // Frames of the script that passed while a command waited for a key with none held:
    // the script runs on, so a key it brings later can end the wait.
    uint32_t waitedFrames;
    bool endedInCommand;  // the frame limit came while a command waited
    HeadlessClock clock;
    uint32_t manualMilliseconds;  // the manual clock's time
};

extern HeadlessHost headlessHost;

// Makes the headless host the one in use, with no keys, no script, no frame limit, frame 1
// and the manual clock at 0.
void installHeadlessHost(HeadlessClock clock);

// Adds a scripted hold of `frames` frames from `firstFrame`. False, and nothing added,
// for frame 0, scan code 0 (no key has it), zero frames or a range past the last frame.
bool addScriptedKey(uint32_t firstFrame, uint8_t scanCode, uint32_t frames);

// Presses or releases a key directly, outside the script. Scan code 0 stays up.
void setHeadlessKey(uint8_t scanCode, bool down);

// The manual clock: the time now, and a step forward. Its wait step advances it by 1 ms,
// so a paced frame end waits exactly up to its deadline without real time passing.
void setHeadlessClock(uint32_t milliseconds);
void advanceHeadlessClock(uint32_t milliseconds);

}  // namespace tavir
