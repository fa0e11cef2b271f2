// The CPU side of the VDP: address set-up, the read-ahead latch, the port latches, the
// window carry, the indirect register port and the status registers with their clearing.
#include <gtest/gtest.h>

#include "video/vdp_fixture.h"
#include "video/vdp_registers.h"

namespace tavir::testing {
namespace {

using VDPPortsTest = VDPTest;

TEST_F(VDPPortsTest, ReadSetUpPrefetchesSoReadsReturnConsecutiveBytes) {
    vdp.vram[0] = 0x11;
    vdp.vram[1] = 0x22;
    vdp.vram[2] = 0x33;
    writeVDPControl(0x00);
    writeVDPControl(0x00);
    EXPECT_EQ(readVDPData(), 0x11);
    EXPECT_EQ(readVDPData(), 0x22);
    EXPECT_EQ(vdp.vramAddress, 3);
}

TEST_F(VDPPortsTest, WriteSetUpStoresConsecutiveBytesAndKeepsTheLastForReading) {
    setWriteAddress(0x11234);
    writeVDPData(0xAA);
    writeVDPData(0xBB);
    EXPECT_EQ(vdp.vram[0x11234], 0xAA);
    EXPECT_EQ(vdp.vram[0x11235], 0xBB);
    EXPECT_EQ(vdp.vramAddress, 0x1236);
    EXPECT_EQ(vdp.readAhead, 0xBB);
}

TEST_F(VDPPortsTest, WriteAfterReadSetUpLandsOneBeyondThePrefetchedByte) {
    vdp.vram[0x100] = 0x5A;
    vdp.vram[0x101] = 0x66;
    setReadAddress(0x100);
    writeVDPData(0x77);
    EXPECT_EQ(vdp.readAhead, 0x66);
    EXPECT_EQ(vdp.vram[0x101], 0x66);
    EXPECT_EQ(vdp.vram[0x102], 0x77);
    EXPECT_EQ(vdp.vramAddress, 0x102);
}

TEST_F(VDPPortsTest, DataWriteBetweenTheTwoControlBytesIsLostAndKeepsTheLatch) {
    setWriteAddress(0x10);
    writeVDPControl(0x99);
    writeVDPData(0x42);
    EXPECT_EQ(vdp.vram[0x10], 0);
    writeVDPControl(0x40);  // still the second byte of the pair
    EXPECT_EQ(vdp.vramAddress, 0x0099);
    writeVDPData(0x42);
    EXPECT_EQ(vdp.vram[0x99], 0x42);
}

TEST_F(VDPPortsTest, RegisterWritesGoThroughTheControlPortAndPairsWithBothTopBitsAreDropped) {
    setRegister(7, 0x1F);
    EXPECT_EQ(vdp.vdpRegister[7], 0x1F);
    setRegister(63, 0x5C);  // stored though meaningless
    EXPECT_EQ(vdp.vdpRegister[63], 0x5C);

    writeVDPControl(0x12);
    writeVDPControl(0xC7);
    EXPECT_EQ(vdp.vdpRegister[7], 0x1F);
    EXPECT_EQ(vdp.vramAddress, 0);
    setRegister(7, 0x0A);  // the latch expects a first byte again
    EXPECT_EQ(vdp.vdpRegister[7], 0x0A);
}

TEST_F(VDPPortsTest, AddressCarriesIntoR14InGraphic4ButWrapsInsideTheWindowInGraphic1) {
    setRegister(1, 0x40);  // M1 off
    setRegister(0, 0x06);  // M3 + M4: Graphic 4
    ASSERT_EQ(vdp.screenMode, kGraphic4);
    setWriteAddress(0x1FFFF);
    writeVDPData(0xA1);
    EXPECT_EQ(vdp.vram[0x1FFFF], 0xA1);
    EXPECT_EQ(vdp.vdpRegister[14], 0);
    writeVDPData(0xA2);
    EXPECT_EQ(vdp.vram[0x00000], 0xA2);

    setRegister(0, 0x00);  // Graphic 1
    ASSERT_EQ(vdp.screenMode, kGraphic1);
    setWriteAddress(0x1FFFF);
    writeVDPData(0xB1);
    writeVDPData(0xB2);
    EXPECT_EQ(vdp.vram[0x1FFFF], 0xB1);
    EXPECT_EQ(vdp.vram[0x1C000], 0xB2);
    EXPECT_EQ(vdp.vdpRegister[14], 7);
    EXPECT_EQ(vdp.vram[0x00000], 0xA2);
}

TEST_F(VDPPortsTest, ReadsCarryIntoTheNextWindowInGraphic4) {
    setRegister(1, 0x40);
    setRegister(0, 0x06);
    vdp.vram[0x07FFF] = 0x31;
    vdp.vram[0x08000] = 0x32;
    setReadAddress(0x07FFF);
    EXPECT_EQ(readVDPData(), 0x31);
    EXPECT_EQ(readVDPData(), 0x32);
    EXPECT_EQ(vdp.vdpRegister[14], 2);
}

TEST_F(VDPPortsTest, IndirectPortWritesTheRegisterR17PointsAtAndMovesOn) {
    setRegister(17, 0x07);
    writeVDPIndirect(0x15);
    writeVDPIndirect(0x20);
    EXPECT_EQ(vdp.vdpRegister[7], 0x15);
    EXPECT_EQ(vdp.vdpRegister[8], 0x20);
    EXPECT_EQ(vdp.vdpRegister[17], 0x09);

    setRegister(17, 0x87);  // no auto-increment
    writeVDPIndirect(0x01);
    writeVDPIndirect(0x02);
    EXPECT_EQ(vdp.vdpRegister[7], 0x02);
    EXPECT_EQ(vdp.vdpRegister[17], 0x87);

    setRegister(17, 0x3F);
    writeVDPIndirect(0x44);
    EXPECT_EQ(vdp.vdpRegister[63], 0x44);
    EXPECT_EQ(vdp.vdpRegister[17], 0x00);
}

TEST_F(VDPPortsTest, IndirectPortCannotWriteR17) {
    setRegister(17, 0x11);
    writeVDPIndirect(0x05);
    EXPECT_EQ(vdp.vdpRegister[17], 0x12);
    writeVDPIndirect(0x33);  // now R#18
    EXPECT_EQ(vdp.vdpRegister[18], 0x33);
}

TEST_F(VDPPortsTest, StatusReadCancelsAHalfWrittenControlPair) {
    writeVDPControl(0x07);
    readVDPStatus();
    writeVDPControl(0x0A);
    writeVDPControl(0x87);
    EXPECT_EQ(vdp.vdpRegister[7], 0x0A);
}

TEST_F(VDPPortsTest, StatusZeroReportsFrameAndCollisionOnceAndWithdrawsTheInterrupt) {
    vdp.vdpStatus[0] = kS0Frame | kS0Collision | 0x1F;
    cpu.pendingVector = kInterruptVector;
    EXPECT_EQ(readVDPStatus(), 0xBF);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    EXPECT_EQ(readVDPStatus(), 0x1F);
}

TEST_F(VDPPortsTest, StatusOneClearsTheLineInterruptFlagAndKeepsTheIdentification) {
    setRegister(15, 1);
    vdp.vdpStatus[1] |= kS1LineInterrupt;
    cpu.pendingVector = kInterruptVector;
    EXPECT_EQ(readVDPStatus(), 0x05);
    EXPECT_EQ(cpu.pendingVector, kNoInterrupt);
    EXPECT_EQ(readVDPStatus(), 0x04);
}

TEST_F(VDPPortsTest, StatusRegisterNumberIsFourBits) {
    setRegister(15, 0x12);
    EXPECT_EQ(vdp.vdpRegister[15], 0x02);
}

TEST_F(VDPPortsTest, HorizontalRetraceIsSetInTheSecondHalfOfTheLine) {
    setRegister(15, 2);
    vdp.scanLine = 100;
    cpu.cycleCount = 200;
    EXPECT_EQ(readVDPStatus() & kS2HorizontalRetrace, 0);
    cpu.cycleCount = 113;  // below 228 / 2
    EXPECT_EQ(readVDPStatus() & kS2HorizontalRetrace, kS2HorizontalRetrace);
    cpu.cycleCount = 114;
    EXPECT_EQ(readVDPStatus() & kS2HorizontalRetrace, 0);
}

TEST_F(VDPPortsTest, VerticalRetraceFollowsTheDisplayAreaOfBothLineCounts) {
    setRegister(15, 2);
    const auto retraceAt = [](int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        return (readVDPStatus() & kS2VerticalRetrace) != 0;
    };
    // 192 lines from scan line 32; the frame flag rises at the end of line 224.
    EXPECT_TRUE(retraceAt(10));
    EXPECT_FALSE(retraceAt(32));
    EXPECT_FALSE(retraceAt(224));
    EXPECT_TRUE(retraceAt(225));
    setRegister(9, kR9Lines212);  // 212 lines from scan line 22
    EXPECT_FALSE(retraceAt(22));
    EXPECT_FALSE(retraceAt(234));
    EXPECT_TRUE(retraceAt(235));
    EXPECT_EQ(vdp.vdpStatus[2] & 0x0C, 0x0C);  // the fixed bits stay
}

// The picture and the frame flag start 7 lines earlier with an adjust of +7; the
// retrace bit moves with them.
TEST_F(VDPPortsTest, VerticalRetraceMovesWithTheVerticalAdjust) {
    setRegister(15, 2);
    setRegister(18, 0x70);
    const auto retraceAt = [](int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        return (readVDPStatus() & kS2VerticalRetrace) != 0;
    };
    EXPECT_TRUE(retraceAt(24));
    EXPECT_FALSE(retraceAt(25));
    EXPECT_FALSE(retraceAt(217));
    EXPECT_TRUE(retraceAt(218));
}

TEST_F(VDPPortsTest, StatusSevenWithoutATransferIsReturnedUnchanged) {
    setRegister(15, 7);
    vdp.vdpStatus[7] = 0x3C;
    setRegister(44, 0x99);
    EXPECT_EQ(readVDPStatus(), 0x3C);
    EXPECT_EQ(vdp.vdpRegister[44], 0x99);
}

TEST_F(VDPPortsTest, ModeBitsSelectTheScreenModeAndUnknownCombinationsKeepIt) {
    struct Case {
        uint8_t r0, r1, mode;
    };
    const Case cases[] = {
        {0x00, 0x00, kGraphic1}, {0x02, 0x00, kGraphic2},    {0x04, 0x00, kGraphic3},
        {0x06, 0x00, kGraphic4}, {0x08, 0x00, kGraphic5},    {0x0A, 0x00, kGraphic6},
        {0x0E, 0x00, kGraphic7}, {0x00, 0x08, kMulticolour}, {0x00, 0x10, kText1},
        {0x04, 0x10, kText2},
    };
    for (const Case& c : cases) {
        setRegister(1, 0x40);
        setRegister(0, c.r0);
        setRegister(1, static_cast<uint8_t>(0x40 | c.r1));
        EXPECT_EQ(vdp.screenMode, c.mode) << "R#0 " << int(c.r0) << " R#1 " << int(c.r1);
    }
    setRegister(0, 0x0C);  // M4 + M5: no such mode
    EXPECT_EQ(vdp.screenMode, kText2);
    setRegister(1, 0x18);  // M1 + M2 together: none either
    EXPECT_EQ(vdp.screenMode, kText2);
}

TEST_F(VDPPortsTest, ResetRestoresPowerOnRegistersButKeepsVRAMAndTheHighRegisters) {
    setRegister(0, 0x0E);
    setRegister(7, 0x44);
    setRegister(14, 5);
    setRegister(50, 0x77);
    vdp.trueColour0 = 0x1234;
    vdp.vram[0x100] = 0x99;
    writeVDPControl(0x01);  // a pair left half-written
    vdp.vdpStatus[5] = 0x55;

    resetVDP();
    EXPECT_EQ(vdp.screenMode, kGraphic1);
    EXPECT_EQ(vdp.vdpRegister[0], 0);
    EXPECT_EQ(vdp.vdpRegister[1], 0x10);
    EXPECT_EQ(vdp.vdpRegister[7], 0);
    EXPECT_EQ(vdp.vramWindow, 0u);
    EXPECT_EQ(vdp.vdpRegister[50], 0x77);
    EXPECT_EQ(vdp.vdpStatus[0], 0x9F);
    EXPECT_EQ(vdp.vdpStatus[1], 0x04);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C);
    EXPECT_EQ(vdp.vdpStatus[5], 0);
    EXPECT_EQ(vdp.trueColour0, 0x1234);
    EXPECT_EQ(vdp.vram[0x100], 0x99);
    setRegister(7, 0x0B);  // the control latch starts with a first byte
    EXPECT_EQ(vdp.vdpRegister[7], 0x0B);
}

// A snapshot restores the window as R#14 x 16 KB and the address as stored, unchecked.
TEST_F(VDPPortsTest, WindowAndAddressRestoredOutOfRangeStayInsideVRAM) {
    vdp.vramWindow = 0xFF * 0x4000u;
    vdp.vramAddress = 0x3FFF;
    writeVDPData(0x12);
    EXPECT_EQ(vdp.vram[0x1FFFF], 0x12);
    vdp.vramAddress = 0x3FFF;
    vdp.readAhead = 0;
    readVDPData();
    EXPECT_EQ(vdp.readAhead, 0x12);
}

}  // namespace
}  // namespace tavir::testing
