// The desktop implementation of the host layer: the real clock, the SDL keyboard and
// joysticks kept by the main thread, and the picture handed to the main thread.
#pragma once

#include <cstdint>

namespace tavir {

// The window size the emulation thread last asked for (set up of its display), with a
// counter that changes on every request, so the main thread applies each one once.
struct DisplayRequest {
    uint32_t serial;  // 0 until the first request
    int32_t width, height;
    bool fullScreen;
};

// Makes the desktop host the one in use. `wakeEventType` is an SDL user event type that
// is pushed to wake the main thread when a picture or a display request arrives.
void installDesktopHost(uint32_t wakeEventType);

// Main thread.
DisplayRequest latestDisplayRequest();
uint32_t desktopFramesRun();

// Main thread: the window gained or lost the keyboard focus.
void desktopFocusChanged(bool focused);

}  // namespace tavir
