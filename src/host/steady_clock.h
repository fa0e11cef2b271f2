// The host's real time: a millisecond counter and the wait step built on it.
#pragma once

#include <cstdint>

namespace tavir {

// Milliseconds of the monotonic clock, truncated to 32 bits (wraps after 49 days).
uint32_t steadyMilliseconds();

// Sleeps until steadyMilliseconds() has moved on by `remaining`: to the very start of that
// millisecond, in one sleep. The thread wakes once per wait instead of once per millisecond,
// and no millisecond is spun away: the scheduler wakes it a few tens of microseconds late at
// most, which the caller's millisecond counter cannot even see.
void sleepingWaitStep(uint32_t remaining);

}  // namespace tavir
