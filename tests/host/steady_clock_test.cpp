// The real clock's wait step: whatever the scheduler does, it never returns before the
// millisecond counter has moved on by the time asked, so a frame is never cut short.
#include "host/steady_clock.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

TEST(SteadyClock, AWaitStepNeverEndsEarly) {
    for (const uint32_t remaining : {1u, 2u, 7u, 17u}) {
        const uint32_t before = steadyMilliseconds();
        sleepingWaitStep(remaining);
        EXPECT_GE(steadyMilliseconds() - before, remaining) << remaining << " ms";
    }
}

}  // namespace
}  // namespace tavir
