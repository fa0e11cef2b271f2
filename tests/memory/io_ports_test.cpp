#include "memory/io_ports.h"

#include <gtest/gtest.h>


#include "cpu/z80.h"
#include "memory/memory_map.h"
#include "sound/psg.h"
#include "support/started_machine.h"

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

using StartedPortTest = testing::StartedMachineTest;

// The CPU puts a 16-bit address on the bus for IN and OUT (B or A in the high byte); the
// machine decodes only the low byte, so programs that leave B nonzero still reach the port.
TEST_F(StartedPortTest, Z80PortAddressesAreReducedToTheirLowByte) {
    outPort(0xA8, 0xF0);        // pages 2 and 3 in slot 3
    writeMemory(0xFFFF, 0xA0);  // ... subslot 2: the RAM
    portDevices.keyboardMatrix[7] = 0xBF;
    const uint8_t program[] = {
        0x01, 0xA8, 0x01,  // LD BC,0x01A8
        0xED, 0x78,        // IN A,(C)
        0x5F,              // LD E,A
        0x01, 0xAA, 0x7F,  // LD BC,0x7FAA
        0x16, 0x37,        // LD D,0x37
        0xED, 0x51,        // OUT (C),D     port C = 0x37: row 7
        0x3E, 0x12,        // LD A,0x12
        0xDB, 0xA9,        // IN A,(0xA9)   address 0x12A9
    };
    for (size_t i = 0; i < sizeof program; ++i)
        writeMemory(static_cast<uint16_t>(0x8000 + i), program[i]);
    ASSERT_EQ(readMemory(0x8000), 0x01) << "the program must be in RAM";

    cpu.pc = 0x8000;
    for (int i = 0; i < 8; ++i) executeInstruction(cpu);
    EXPECT_EQ(cpu.pc, 0x8000 + sizeof program);
    EXPECT_EQ(cpu.de.low, 0xF0) << "IN A,(C) from 0x01A8 reads the slot register";
    EXPECT_EQ(portDevices.ppiPortC, 0x37) << "OUT (C) to 0x7FAA writes PPI port C";
    EXPECT_EQ(cpu.af.high, 0xBF) << "IN A,(0xA9) with A = 0x12 reads keyboard row 7";
}

}  // namespace
}  // namespace tavir
