// The CPU side of the VDP: address set-up, the read-ahead latch, the port latches, the
// window carry, the indirect register port and the status registers with their clearing.
#include <gtest/gtest.h>

#include <utility>

#include "video/vdp_fixture.h"
#include "video/vdp_registers.h"

namespace tavir::testing {
namespace {

using VDPPortsTest = VDPTest;

TEST_F(VDPPortsTest, DataPortReadsAheadAndWritesConsecutiveBytes) {
    vdp.vram[0x100] = 0x11;
    vdp.vram[0x101] = 0x22;
    setReadAddress(0x100);
    EXPECT_EQ(readVDPData(), 0x11);
    EXPECT_EQ(vdp.vramAddress, 0x102);

    setReadAddress(0x100);  // a write after a read set-up lands beyond the prefetched byte
    writeVDPData(0x77);
    EXPECT_EQ(vdp.vram[0x101], 0x22);
    EXPECT_EQ(vdp.vram[0x102], 0x77);

    setWriteAddress(0x11234);
    writeVDPData(0xAA);
    writeVDPData(0xBB);
    EXPECT_EQ(vdp.vram[0x11234], 0xAA);
    EXPECT_EQ(vdp.vram[0x11235], 0xBB);
    EXPECT_EQ(vdp.readAhead, 0xBB);
}

TEST_F(VDPPortsTest, ControlLatchPairsBytesAndDropsPairsWithBothTopBits) {
    setWriteAddress(0x10);
    writeVDPControl(0x99);
    writeVDPData(0x42);  // between the two bytes: lost, and the latch waits on
    EXPECT_EQ(vdp.vram[0x10], 0);
    writeVDPControl(0x40);
    writeVDPData(0x42);
    EXPECT_EQ(vdp.vram[0x99], 0x42);

    setRegister(7, 0x1F);
    writeVDPControl(0x12);
    writeVDPControl(0xC7);
    EXPECT_EQ(vdp.vdpRegister[7], 0x1F);
    writeVDPControl(0x07);
    readVDPStatus();  // a status read cancels the half-written pair
    setRegister(7, 0x0A);
    EXPECT_EQ(vdp.vdpRegister[7], 0x0A);
}

TEST_F(VDPPortsTest, AddressCarriesIntoR14InGraphic4ButWrapsInsideTheWindowInGraphic1) {
    setRegister(1, 0x40);  // M1 off
    setRegister(0, 0x06);  // M3 + M4: Graphic 4
    ASSERT_EQ(vdp.screenMode, kGraphic4);
    setWriteAddress(0x1FFFF);
    writeVDPData(0xA1);
    writeVDPData(0xA2);
    EXPECT_EQ(vdp.vram[0x1FFFF], 0xA1);
    EXPECT_EQ(vdp.vram[0x00000], 0xA2);
    vdp.vram[0x08000] = 0x32;
    setReadAddress(0x07FFF);
    readVDPData();
    EXPECT_EQ(readVDPData(), 0x32);
    EXPECT_EQ(vdp.vdpRegister[14], 2);

    setRegister(0, 0x00);  // Graphic 1
    ASSERT_EQ(vdp.screenMode, kGraphic1);
    setWriteAddress(0x1FFFF);
    writeVDPData(0xB1);
    writeVDPData(0xB2);
    EXPECT_EQ(vdp.vram[0x1C000], 0xB2);
    EXPECT_EQ(vdp.vdpRegister[14], 7);
    EXPECT_EQ(vdp.vram[0x00000], 0xA2);
}

// R#17: the register number, bit 7 set to stay on it; the port skips R#17 itself.
TEST_F(VDPPortsTest, IndirectPortWritesTheRegisterR17PointsAtButNeverR17) {
    setRegister(17, 0x07);
    for (uint8_t value : {0x15, 0x20}) writeVDPIndirect(value);
    EXPECT_EQ(vdp.vdpRegister[7], 0x15);
    EXPECT_EQ(vdp.vdpRegister[8], 0x20);
    setRegister(17, 0x87);
    for (uint8_t value : {0x01, 0x02}) writeVDPIndirect(value);
    EXPECT_EQ(vdp.vdpRegister[7], 0x02);
    setRegister(17, 0x11);
    for (uint8_t value : {0x05, 0x33}) writeVDPIndirect(value);
    EXPECT_EQ(vdp.vdpRegister[17], 0x13);
    EXPECT_EQ(vdp.vdpRegister[18], 0x33);
}

TEST_F(VDPPortsTest, StatusReadsClearTheirFlagsOnceAndWithdrawTheInterrupt) {
    vdp.vdpStatus[0] = kS0Frame | kS0Collision | 0x1F;
    cpu.pendingVector = kInterruptVector;
    EXPECT_EQ(readVDPStatus(), 0xBF);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    EXPECT_EQ(readVDPStatus(), 0x1F);

    setRegister(15, 0x11);  // four bits: status 1
    vdp.vdpStatus[1] |= kS1LineInterrupt;
    cpu.pendingVector = kInterruptVector;
    EXPECT_EQ(readVDPStatus(), 0x05);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    EXPECT_EQ(readVDPStatus(), 0x04);
}

// The display takes 192 lines from scan line 32 or 212 from 22 (the frame flag rises at
// the end of its last line), both 7 lines earlier with an adjust of +7. Horizontal
// retrace is the second half of a 228 T-state line.
TEST_F(VDPPortsTest, RetraceBitsFollowTheLineCountTheAdjustAndTheLinePosition) {
    struct Case { uint8_t r9, r18; int first, lines; };
    setRegister(15, 2);
    for (const Case c :
         {Case{0, 0, 32, 192}, Case{kR9Lines212, 0, 22, 212}, Case{0, 0x70, 25, 192}}) {
        setRegister(9, c.r9);
        setRegister(18, c.r18);
        for (int line : {c.first - 1, c.first, c.first + c.lines, c.first + c.lines + 1}) {
            vdp.scanLine = static_cast<uint8_t>(line);
            const bool display = line >= c.first && line <= c.first + c.lines;
            EXPECT_EQ((readVDPStatus() & kS2VerticalRetrace) == 0, display) << line;
        }
    }
    vdp.scanLine = 100;
    const std::pair<int, bool> halves[] = {{200, false}, {113, true}, {114, false}};
    for (const auto& [cycles, retrace] : halves) {
        cpu.cycleCount = cycles;
        EXPECT_EQ((readVDPStatus() & kS2HorizontalRetrace) != 0, retrace) << cycles;
    }
    EXPECT_EQ(vdp.vdpStatus[2] & 0x0C, 0x0C);  // the fixed bits stay
}

}  // namespace
}  // namespace tavir::testing
