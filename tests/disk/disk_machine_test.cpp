// The drives in the started machine, used by Z80 code that calls the disk ROM's DSKIO entry
// in slot 3-1 to read and write a real image.
#include <gtest/gtest.h>

#include "core/machine.h"
#include "cpu/z80.h"
#include "disk_fixture.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"

namespace tavir::testing {
namespace {

class DiskMachine : public MachineDirectoryTest {
protected:
    void TearDown() override { shutdownMSX(); }

    void start() {
        ASSERT_TRUE(openLog());
        ASSERT_TRUE(initMSX());
        std::fflush(logFile);
    }
};

// Runs from RAM: pages the disk ROM (slot 3-1) into 0x4000, reads sector 0 of drive A to
// 0x9000 and writes it back as sector 2, pushing AF and BC after each call.
constexpr uint8_t kProgram[] = {
    0x3E, 0xA6,        // LD A,0A6h        pages 0, 2, 3: slot 3-2 (RAM); page 1: slot 3-1
    0x32, 0xFF, 0xFF,  // LD (0FFFFh),A    the secondary slot register
    0xAF,              // XOR A            drive A, carry clear: read
    0x06, 0x01,        // LD B,1
    0x0E, 0xF9,        // LD C,0F9h
    0x11, 0x00, 0x00,  // LD DE,0
    0x21, 0x00, 0x90,  // LD HL,9000h
    0xCD, 0x10, 0x40,  // CALL 4010h       DSKIO
    0xF5,              // PUSH AF
    0xC5,              // PUSH BC
    0xAF,              // XOR A
    0x06, 0x01,        // LD B,1
    0x0E, 0xF9,        // LD C,0F9h
    0x11, 0x02, 0x00,  // LD DE,2
    0x21, 0x00, 0x90,  // LD HL,9000h
    0x37,              // SCF              write
    0xCD, 0x10, 0x40,  // CALL 4010h
    0xF5,              // PUSH AF
    0xC5,              // PUSH BC
    0x76,              // HALT
};

TEST_F(DiskMachine, Z80CodeReadsAndWritesTheImageThroughTheDiskROM) {
    writePatternImage("boot.dsk", k720KSectors);
    writeTextFile("adrive.dfd", "boot.dsk\n");
    start();

    outPort(0xA8, 0xFF);  // all of slot 3, RAM everywhere
    setSecondarySlots(0xAA);
    for (size_t i = 0; i < sizeof kProgram; ++i) writeMemory(0x8000 + i, kProgram[i]);
    cpu.pc = 0x8000;
    cpu.sp = 0xF000;
    cpu.MSXSpeed = 1'000'000;
    cpu.cycleCount = cpu.MSXSpeed;
    for (int steps = 0; steps < 1000 && !(cpu.stateFlags & kHalted); ++steps) {
        executeInstruction(cpu);
    }
    ASSERT_TRUE(cpu.stateFlags & kHalted);

    outPort(0xA8, 0xFF);
    setSecondarySlots(0xAA);
    const auto word = [](uint16_t address) {
        return readMemory(address) | readMemory(address + 1) << 8;
    };
    EXPECT_EQ(word(0xEFFE) & 0xFF, 0xFE) << "read: carry clear";
    EXPECT_EQ(word(0xEFFC) >> 8, 1) << "read: one sector";
    EXPECT_EQ(word(0xEFFA) & 0xFF, 0xFE) << "write: carry clear";
    EXPECT_EQ(word(0xEFF8) >> 8, 1) << "write: one sector";
    EXPECT_EQ(memoryMap.secondarySlotRegister, 0xAA);

    const Bytes sector0 = patternSector(0);
    for (int i = 0; i < 512; ++i) ASSERT_EQ(readMemory(0x9000 + i), sector0[i]) << i;
    EXPECT_EQ(readImageSector("boot.dsk", 2), sector0);
    EXPECT_EQ(readImageSector("boot.dsk", 3), patternSector(3));
}

}  // namespace
}  // namespace tavir::testing
