#include "host/desktop/desktop_host.h"

#include <SDL2/SDL_events.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/emulation_control.h"
#include "host/desktop/desktop_joysticks.h"
#include "host/desktop/desktop_keyboard.h"
#include "host/desktop/picture_mailbox.h"
#include "host/host_layer.h"
#include "host/steady_clock.h"
#include "video/frame_buffer.h"

namespace tavir {

namespace {

uint32_t wakeEvent;
std::atomic<bool> wakePending{false};
std::atomic<bool> windowFocused{true};
std::atomic<uint32_t> framesRun{0};

DisplayRequest displayRequest;
std::mutex displayRequestLock;

// One wake-up in the queue at a time: the main thread takes whatever is new when it wakes.
void wakeMainThread() {
    if (wakePending.exchange(true)) return;
    SDL_Event event{};
    event.type = wakeEvent;
    if (SDL_PushEvent(&event) != 1) wakePending.store(false);
}

void sleepOneMillisecond() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Like a foreground keyboard device: the emulation can take the keyboard only while the
// window has the focus.
void acquireIfFocused() {
    if (windowFocused.load()) acquireDesktopKeyboard();
}

void countFrame(uint32_t frames) {
    framesRun.store(frames);
}

void postFrameBuffer() {
    if (postPicture(frameBuffer.pixels, frameBuffer.pitch, frameBuffer.width, frameBuffer.height))
        wakeMainThread();
}

void requestDisplay(int32_t width, int32_t height, bool fullScreen) {
    {
        std::lock_guard<std::mutex> guard(displayRequestLock);
        displayRequest = {displayRequest.serial + 1, width, height, fullScreen};
    }
    wakeMainThread();
}

}  // namespace

void installDesktopHost(uint32_t wakeEventType) {
    wakeEvent = wakeEventType;
    framesRun.store(0);
    host = HostLayer{steadyMilliseconds,  sleepingWaitStep, sleepOneMillisecond,
                     readDesktopKeyboard, acquireIfFocused, countFrame,
                     postFrameBuffer,     requestDisplay,   readDesktopJoystick};
}

DisplayRequest latestDisplayRequest() {
    wakePending.store(false);
    std::lock_guard<std::mutex> guard(displayRequestLock);
    return displayRequest;
}

uint32_t desktopFramesRun() {
    return framesRun.load();
}

void desktopFocusChanged(bool focused) {
    windowFocused.store(focused);
    if (!focused)
        unacquireDesktopKeyboard();
    else if (emulationRunning.load())
        acquireDesktopKeyboard();
}

}  // namespace tavir
