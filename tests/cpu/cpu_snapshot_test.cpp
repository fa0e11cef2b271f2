// CPUState's 52-byte snapshot block: fixed offsets, little-endian, and a full round trip.
#include <gtest/gtest.h>

#include "cpu/cpu_snapshot.h"

namespace tavir {
namespace {

TEST(CPUSnapshot, LayoutIsLittleEndianAtFixedOffsets) {
    CPUState cpu{};
    cpu.af.word = 0x0102;
    cpu.hl.word = 0x0708;
    cpu.ix.word = 0x1122;
    cpu.pc = 0x3344;
    cpu.hl2.word = 0x5566;
    cpu.stateFlags = 0x81;
    cpu.i = 0x3F;
    cpu.rCounter = 0x7E;
    cpu.MSXSpeed = 228;
    cpu.cycleCount = -3;
    cpu.savedCycleCount = 0x01020304;
    cpu.pendingVector = 0x0038;
    uint8_t block[kCPUStateSnapshotSize];
    storeCPUState(cpu, block);
    EXPECT_EQ(block[0x00], 0x02) << "F first";
    EXPECT_EQ(block[0x01], 0x01) << "then A";
    EXPECT_EQ(block[0x06], 0x08) << "L";
    EXPECT_EQ(block[0x07], 0x07) << "H";
    EXPECT_EQ(block[0x08], 0x22);
    EXPECT_EQ(block[0x0C], 0x44);
    EXPECT_EQ(block[0x0D], 0x33);
    EXPECT_EQ(block[0x16], 0x66);
    EXPECT_EQ(block[0x18], 0x81);
    EXPECT_EQ(block[0x19], 0x3F);
    EXPECT_EQ(block[0x1A], 0x7E);
    EXPECT_EQ(block[0x1C], 228);
    EXPECT_EQ(block[0x20], 0xFD);
    EXPECT_EQ(block[0x23], 0xFF) << "-3 in two's complement";
    EXPECT_EQ(block[0x24], 0x04);
    EXPECT_EQ(block[0x28], 0x38);
    EXPECT_EQ(block[0x29], 0x00);

    CPUState restored{};
    loadCPUState(restored, block);
    uint8_t again[kCPUStateSnapshotSize];
    storeCPUState(restored, again);
    EXPECT_TRUE(std::equal(std::begin(block), std::end(block), again));
    EXPECT_EQ(restored.cycleCount, -3);
}

}  // namespace
}  // namespace tavir
