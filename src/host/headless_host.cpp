#include "host/headless_host.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "core/emulation_control.h"
#include "host/headless_audio.h"
#include "host/host_layer.h"
#include "host/steady_clock.h"

namespace tavir {

HeadlessHost headlessHost;

namespace {

uint32_t manualMilliseconds() {
    return headlessHost.manualMilliseconds;
}

void manualWaitStep(uint32_t /*remaining*/) {
    headlessHost.manualMilliseconds++;
}

bool scriptedKeyDown(const ScriptedKey& key, uint32_t frame) {
    return key.firstFrame <= frame && frame <= key.lastFrame;
}

void readScriptedKeyboard(uint8_t* state) {
    std::memcpy(state, headlessHost.heldKeys, sizeof headlessHost.heldKeys);
    for (const ScriptedKey& key : headlessHost.script) {
        if (scriptedKeyDown(key, headlessHost.currentFrame)) state[key.scanCode] = 0x80;
    }
}

// While a command waits (for keys to come up, or for a dialog), emulated frames stand
// still but a person's time does not: the keys being held are let go, as a hand would
// during the pause. Otherwise a hold scripted in frames could never end there.
// With nothing held the pass stands for a frame of waiting: the script moves on by one, and
// the frame limit counts it, so a batch run ends even in a wait no key of its ever ends.
void releaseHeldKeys() {
    const uint32_t frame = headlessHost.currentFrame;
    bool anyHeld = false;
    for (ScriptedKey& key : headlessHost.script) {
        if (!scriptedKeyDown(key, frame)) continue;
        key.lastFrame = frame - 1;
        anyHeld = true;
    }
    for (uint8_t& state : headlessHost.heldKeys) {
        anyHeld |= state != 0;
        state = 0;
    }
    if (!anyHeld) {
        headlessHost.waitedFrames++;
        headlessHost.currentFrame++;
        if (headlessHost.frameLimit != 0 && headlessHost.currentFrame > headlessHost.frameLimit) {
            headlessHost.endedInCommand = true;
            requestEmulationStop();
        }
    }
    if (headlessHost.clock == HeadlessClock::kReal)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void acquireNothing() {}

void keepPicture() {}

void noWindowToFit(int32_t /*width*/, int32_t /*height*/, bool /*fullScreen*/) {}

bool noJoystick(uint8_t /*device*/, JoystickPosition* /*position*/) {
    return false;
}

void countFrame(uint32_t framesRun) {
    playHeadlessAudioFrame();
    const uint32_t scriptFrames = framesRun + headlessHost.waitedFrames;
    headlessHost.currentFrame = scriptFrames + 1;
    if (headlessHost.frameLimit != 0 && scriptFrames >= headlessHost.frameLimit)
        requestEmulationStop();
}

}  // namespace

constinit HostLayer host = {steadyMilliseconds,   sleepingWaitStep, releaseHeldKeys,
                            readScriptedKeyboard, acquireNothing,   countFrame,
                            keepPicture,          noWindowToFit,    noJoystick};

void installHeadlessHost(HeadlessClock clock) {
    headlessHost.script.clear();
    std::memset(headlessHost.heldKeys, 0, sizeof headlessHost.heldKeys);
    headlessHost.currentFrame = 1;
    headlessHost.frameLimit = 0;
    headlessHost.waitedFrames = 0;
    headlessHost.endedInCommand = false;
    headlessHost.clock = clock;
    headlessHost.manualMilliseconds = 0;
    const bool manual = clock == HeadlessClock::kManual;
    host = HostLayer{manual ? manualMilliseconds : steadyMilliseconds,
                     manual ? manualWaitStep : sleepingWaitStep,
                     releaseHeldKeys,
                     readScriptedKeyboard,
                     acquireNothing,
                     countFrame,
                     keepPicture,
                     noWindowToFit,
                     noJoystick};
}

bool addScriptedKey(uint32_t firstFrame, uint8_t scanCode, uint32_t frames) {
    if (firstFrame == 0 || scanCode == 0 || frames == 0) return false;
    if (frames - 1 > UINT32_MAX - firstFrame) return false;
    headlessHost.script.push_back({firstFrame, firstFrame + (frames - 1), scanCode});
    return true;
}

void setHeadlessKey(uint8_t scanCode, bool down) {
    if (scanCode == 0) return;
    headlessHost.heldKeys[scanCode] = down ? 0x80 : 0x00;
}

void setHeadlessClock(uint32_t milliseconds) {
    headlessHost.manualMilliseconds = milliseconds;
}

void advanceHeadlessClock(uint32_t milliseconds) {
    headlessHost.manualMilliseconds += milliseconds;
}

}  // namespace tavir
