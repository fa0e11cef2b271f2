// The host's real time: a millisecond counter and the wait step built on it.
#pragma once

#include <cstdint>

namespace tavir {

// Milliseconds of the monotonic clock, truncated to 32 bits (wraps after 49 days).
uint32_t steadyMilliseconds();

// Sleeps 1 ms while at least 2 ms remain; spins (returns at once) in the last one. The
// scheduler's wake-up latency makes a sleep overshoot by a fraction of a millisecond,
// which the last, spun millisecond absorbs.
void sleepingWaitStep(uint32_t remaining);

}  // namespace tavir
