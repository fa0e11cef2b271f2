#include "frontend/window_actions.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "core/emulation_control.h"
#include "core/emulation_thread.h"
#include "disk/single_image_set.h"

namespace tavir {

namespace {

std::thread emulation;
// Set by the thread as its last step; true while no thread was ever started.
std::atomic<bool> emulationEnded{true};

}  // namespace

bool emulationThreadAlive() {
    return emulation.joinable() && !emulationEnded.load();
}

bool startCPUFromMenu() {
    if (emulationThreadAlive()) return false;
    if (emulation.joinable()) emulation.join();
    emulation = startEmulationThread(nullptr, &emulationEnded);
    return true;
}

void resetFromMenu() {
    commandCode.store(kCommandReset);
}

void beginDiskDialog() {
    commandCode.store(kCommandHoldForDialog);
}

void endDiskDialog(int drive, const char* chosenPath) {
    // The emulation thread is held (or not running): the drives are ours for this call.
    if (chosenPath != nullptr) useChosenDiskFile(drive, chosenPath);
    commandCode.store(kCommandNone);
}

bool stopEmulationForShutdown(uint32_t timeoutMilliseconds) {
    if (!emulation.joinable()) return true;
    requestEmulationStop();
    // The thread ends within a scan line of the request, unless something holds it: a
    // bounded wait, so that a stuck thread can't keep the window from closing for ever.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (!emulationEnded.load()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    emulation.join();
    return true;
}

}  // namespace tavir
