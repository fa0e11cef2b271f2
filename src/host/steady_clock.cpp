#include "host/steady_clock.h"

#include <chrono>
#include <thread>

namespace tavir {

uint32_t steadyMilliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void sleepingWaitStep(uint32_t remaining) {
    if (remaining >= 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace tavir
