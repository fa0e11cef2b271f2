#include "frontend/window_actions.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/emulation_control.h"
#include "frontend/emulation_thread.h"
#include "core/machine.h"
#include "disk/single_image_set.h"
#include "frontend/launch_options.h"
#include "core/log.h"
#include "core/screen_message.h"
#include "memory/cartridge_list.h"

namespace tavir {

namespace {

std::thread emulation;
bool paused = false;  // main thread only
// Set by the thread as its last step; true while no thread was ever started.
std::atomic<bool> emulationEnded{true};

// How long a held emulation thread may take to reach its next line end and stop there.
constexpr auto kHoldTimeout = std::chrono::seconds(2);

}  // namespace

bool emulationThreadAlive() {
    return emulation.joinable() && !emulationEnded.load();
}

namespace {

// The drives belong to the emulation thread unless it has stopped for the hold or has
// ended. A thread that never took up the hold (stuck in another command's wait) keeps
// them: the choice is then dropped rather than made under its feet.
bool machineIsOurs() {
    return !emulationThreadAlive() || emulationHeld.load();
}

}  // namespace

bool startCPUFromMenu() {
    if (emulationThreadAlive()) return false;
    paused = false;
    if (emulation.joinable()) emulation.join();
    emulation = startEmulationThread(nullptr, &emulationEnded);
    return true;
}

void resetFromMenu() {
    // A paused machine stands in the hold, which would swallow the code: it is ours to reset.
    if (paused && machineIsOurs()) {
        resetMachine(cpu);
        showScreenMessage("Machine reset (still paused)");
        return;
    }
    commandCode.store(kCommandReset);
}

void beginDiskDialog() {
    commandCode.store(kCommandHoldForDialog);
    // A thread just entering its run loop, or coming back to it from another command,
    // clears the code: post the hold again until the thread has taken it up, so that the
    // machine really stands still while the dialog is open.
    const auto deadline = std::chrono::steady_clock::now() + kHoldTimeout;
    while (emulationThreadAlive() && !emulationHeld.load() &&
           std::chrono::steady_clock::now() < deadline) {
        uint8_t cleared = kCommandNone;
        commandCode.compare_exchange_strong(cleared, kCommandHoldForDialog);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void endDiskDialog(int drive, const char* chosenPath) {
    if (chosenPath != nullptr) {
        if (machineIsOurs()) {
            useChosenDiskFile(drive, chosenPath);
        } else {
            logPrint("%s not inserted: the machine did not stop for the dialog.\n", chosenPath);
            showScreenMessage("Drive %c: not inserted, the machine is busy", 'A' + drive);
        }
    }
    commandCode.store(paused ? kCommandHoldForDialog : kCommandNone);
}

void useDroppedFile(const char* path) {
    const std::string name = std::filesystem::path(path).filename().string();
    switch (fileKindOf(path)) {
        case FileKind::kDisk:
            beginDiskDialog();
            endDiskDialog(0, path);
            return;
        case FileKind::kOther:
            showScreenMessage("%s: not a cartridge (.rom) nor a disk (.dsk, .dfd)", name.c_str());
            return;
        case FileKind::kCartridge: break;
    }
    beginDiskDialog();
    if (!machineIsOurs()) {
        logPrint("%s not inserted: the machine did not stop for it.\n", path);
        showScreenMessage("%s not inserted: the machine is busy", name.c_str());
    } else {
        const int mapper = mapperFromFileName(path);
        if (insertCartridge(path, static_cast<uint8_t>(mapper))) {
            // The machine stands still (held, or no thread): its reset is ours to do.
            resetMachine(cpu);
            showScreenMessage("Slot 1: %s (mapper %d), machine reset", name.c_str(), mapper);
        }
    }
    commandCode.store(paused ? kCommandHoldForDialog : kCommandNone);
}

void setPaused(bool pause) {
    if (pause == paused) return;
    paused = pause;
    if (pause) {
        beginDiskDialog();
        showScreenMessage("Paused: Pause key or CPU > Pause goes on");
    } else {
        commandCode.store(kCommandNone);
        showScreenMessage("Running");
    }
}

bool machinePaused() {
    return paused;
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
