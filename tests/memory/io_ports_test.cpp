#include "memory/io_ports.h"

#include <gtest/gtest.h>

#include "sound/psg.h"

namespace tavir {
namespace {

// The port devices that need no memory map, from a known state.
class PortDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPortDevices();
        outPort(0xAA, 0x00);
        portDevices.ppiMode = 0;
        resetPSG();
    }
};

TEST_F(PortDeviceTest, PPIBitSetResetChangesOnlyTheNumberedBitOfPortC) {
    outPort(0xAB, 0x0F);  // bit 7 set: the key click goes high
    EXPECT_EQ(inPort(0xAA), 0x80);
    outPort(0xAB, 0x0E);  // bit 7 cleared again
    EXPECT_EQ(inPort(0xAA), 0x00);
    outPort(0xAB, 0x05);  // bit 2 set
    EXPECT_EQ(inPort(0xAA), 0x04);

    outPort(0xAA, 0xFF);
    outPort(0xAB, 0x00);  // bit 0 cleared, the others stay
    EXPECT_EQ(inPort(0xAA), 0xFE);
    EXPECT_EQ(inPort(0xAB), 0x00) << "a bit set/reset is not a mode byte";
}

TEST_F(PortDeviceTest, SerialDataShowsTheProgrammedCharacterLength) {
    EXPECT_EQ(inPort(0x80), 0x1F) << "after a reset the mode byte is 0: five-bit characters";
    outPort(0x81, 0x4E);  // eight-bit characters
    EXPECT_EQ(inPort(0x80), 0xFF);
    outPort(0x81, 0x46);  // six
    EXPECT_EQ(inPort(0x80), 0x3F);
    EXPECT_EQ(inPort(0x81), 0x85) << "transmitter ready and empty, data set ready";
    EXPECT_EQ(inPort(0x90), 0xFD) << "printer not busy";
}

TEST_F(PortDeviceTest, PortsWithoutADeviceReadFF) {
    // Representative unlisted ports, write-only ports, and the address-only halves of the
    // Kanji pairs (the MSX2+ system-control ports among them).
    for (int port : {0x00, 0x40, 0x7F, 0x91, 0xA0, 0xB4, 0xD8, 0xDA, 0xF4, 0xF5, 0xF7, 0xE0})
        EXPECT_EQ(inPort(static_cast<uint8_t>(port)), 0xFF) << "port " << port;
}

}  // namespace
}  // namespace tavir
