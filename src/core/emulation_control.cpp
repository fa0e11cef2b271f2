#include "core/emulation_control.h"

namespace tavir {

std::atomic<uint8_t> commandCode{kCommandNone};
std::atomic<bool> emulationRunning{false};
std::atomic<bool> emulationStopRequested{false};
std::atomic<bool> emulationHeld{false};

void requestEmulationStop() {
    // The flag first: whoever sees the code also sees why it was set.
    emulationStopRequested.store(true);
    commandCode.store(kCommandQuit);
}

}  // namespace tavir
