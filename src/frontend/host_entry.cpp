#include "frontend/host_entry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/machine.h"
#include "core/log.h"
#include "frontend/window_actions.h"

namespace tavir {

namespace {

// Long enough for any frame to end; a thread still running after it is stuck.
constexpr uint32_t kEmulationStopTimeoutMilliseconds = 5000;

int startUpFailed() {
    logPrint("initMSX Failed.\n");
    shutdownMSX();
    std::fprintf(stderr, "tavir: start-up failed: %s (the whole story is in %s)\n",
                 logFailureLines().c_str(), kLogFileName);
    return 1;
}

}  // namespace

int hostEntry(const WindowSession* window) {
    if (!openLog()) {
        std::fprintf(stderr, "tavir: cannot create %s in the working directory: %s\n", kLogFileName,
                     std::strerror(errno));
        return 1;
    }
    if (!initMSX()) return startUpFailed();
    // The window belongs to the video's start-up: a window that can't be made fails the
    // start-up as the video does.
    if (window != nullptr && !window->open()) {
        logPrint("initVDP Failed.\n");
        return startUpFailed();
    }
    logPrint("initMSX Succeed.\n");
    if (window == nullptr) {
        shutdownMSX();
        return 0;
    }

    window->run();
    if (!stopEmulationForShutdown(kEmulationStopTimeoutMilliseconds)) {
        // The thread still owns the machine: releasing it now would pull memory from under
        // it. Leave without freeing anything; the system takes it all back.
        std::fprintf(stderr, "tavir: the emulation did not stop; leaving without shutdown\n");
        std::fflush(nullptr);
        std::_Exit(1);
    }
    shutdownMSX();
    window->close();
    return 0;
}

}  // namespace tavir
