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
    using namespace std::chrono;
    // The millisecond steadyMilliseconds() reads now began at `tick` (both truncate the same
    // clock); the counter reaches now + remaining exactly `remaining` milliseconds later.
    const auto tick = time_point_cast<milliseconds>(steady_clock::now());
    std::this_thread::sleep_until(tick + milliseconds(remaining));
}

}  // namespace tavir
