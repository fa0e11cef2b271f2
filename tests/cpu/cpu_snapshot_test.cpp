// CPUState's 52-byte snapshot block: fixed offsets, little-endian, and a full round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "cpu/cpu_snapshot.h"

namespace tavir {
namespace {

// Spot checks of the layout (a pair is stored F first, little-endian; the countdown as
// two's complement), then a round trip that keeps every byte.
TEST(CPUSnapshot, LayoutIsLittleEndianAtFixedOffsetsAndRoundTrips) {
    CPUState cpu{};
    cpu.af.word = 0x0102;
    cpu.pc = 0x3344;
    cpu.cycleCount = -3;
    cpu.pendingVector = 0x0038;
    uint8_t block[kCPUStateSnapshotSize];
    storeCPUState(cpu, block);
    const std::pair<int, uint8_t> expected[] = {
        {0x00, 0x02}, {0x01, 0x01}, {0x0C, 0x44}, {0x0D, 0x33}, {0x20, 0xFD}, {0x23, 0xFF}, {0x28, 0x38}};
    for (auto [offset, value] : expected) EXPECT_EQ(block[offset], value) << offset;

    // Every byte of the fields different; 0x1B and 0x2A on are padding and stay 0.
    for (size_t i = 0; i < sizeof block; ++i) block[i] = i == 0x1B || i >= 0x2A ? 0 : uint8_t(i * 7 + 1);
    CPUState restored{};
    loadCPUState(restored, block);
    uint8_t again[kCPUStateSnapshotSize];
    storeCPUState(restored, again);
    EXPECT_TRUE(std::equal(std::begin(block), std::end(block), again));
}

}  // namespace
}  // namespace tavir
