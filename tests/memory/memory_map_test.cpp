// Slot selection, the secondary slot register at 0xFFFF and the memory mapper, on a map
// with recognisable contents: every ROM page is filled with its own marker byte.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "memory/io_ports.h"
#include "memory/memory_map.h"

namespace tavir {
namespace {

class MemoryMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::fill_n(emptyRAM_.get(), kEmptyRAMSize, 0xEE);
        std::fill_n(bios_.get(), 0x8000, 0xB0);
        for (int segment = 0; segment < 4; ++segment)
            std::fill_n(ram_.get() + segment * kSegmentSize, kSegmentSize, 0x50 + segment);
        initMemoryMap(emptyRAM_.get());
        attachRAM(ram_.get());
        mapImage(0, 0, 0, bios_.get(), 4);
        resetMemoryMap();
    }

    std::unique_ptr<uint8_t[]> emptyRAM_{new uint8_t[kEmptyRAMSize]};
    std::unique_ptr<uint8_t[]> bios_{new uint8_t[0x8000]};
    std::unique_ptr<uint8_t[]> ram_{new uint8_t[kRAMSize]};
};

TEST_F(MemoryMapTest, AfterResetTheBIOSIsReadOnlyAndTheRestEmpty) {
    EXPECT_EQ(readMemory(0x0000), 0xB0);
    EXPECT_EQ(readMemory(0x7FFF), 0xB0);
    EXPECT_EQ(readMemory(0x8000), 0xEE);
    EXPECT_EQ(readMemory(0xFFFF), 0xEE);
    for (uint16_t address : {0x0000, 0x4000, 0x8000, 0xC000, 0xFFFE}) writeMemory(address, 0x12);
    EXPECT_EQ(bios_[0], 0xB0);
    EXPECT_EQ(bios_[0x4000], 0xB0);
    EXPECT_EQ(emptyRAM_[0], 0xEE) << "writes to empty pages are dropped";
}

TEST_F(MemoryMapTest, WriteToFFFFOutsideSlot3IsDropped) {
    writeMemory(0xFFFF, 0xAA);
    EXPECT_EQ(memoryMap.secondarySlotRegister, 0);
    outPort(0xA8, 0xC0);
    EXPECT_EQ(readMemory(0xC000), 0xEE) << "secondary slot register still 0";
}

TEST_F(MemoryMapTest, MapperRegistersReadBackWithHighBitsSet) {
    EXPECT_EQ(inPort(0xFC), 0xFF);
    EXPECT_EQ(inPort(0xFD), 0xFE);
    EXPECT_EQ(inPort(0xFE), 0xFD);
    EXPECT_EQ(inPort(0xFF), 0xFC);
    outPort(0xFE, 0x07);
    EXPECT_EQ(inPort(0xFE), 0xFF) << "segment 7 masked to 3";
}

TEST_F(MemoryMapTest, MapperRegistersGovernAddressRangesNotSlots) {
    outPort(0xA8, 0xFF);
    writeMemory(0xFFFF, 0xAA);
    outPort(0xFC, 1);  // 0x0000-0x3FFF shows segment 1, as does 0x8000 after reset
    writeMemory(0x0010, 0x42);
    EXPECT_EQ(readMemory(0x8010), 0x42);
}

// Neither the shared empty page nor the RAM under 0xFFFF, seen elsewhere, shows the register.
TEST_F(MemoryMapTest, SecondarySlotRegisterIsNoMemory) {
    struct Case {
        uint8_t primary, secondary;                        // port 0xA8, then 0xFFFF
        std::vector<std::pair<uint16_t, uint8_t>> then;    // below 0x100 a port, else memory
        std::vector<std::pair<uint16_t, uint16_t>> reads;  // bytes; a word at 0xFFFE
    } const cases[] = {
        {0xF0, 0x15, {}, {{0xFFFF, 0xEA}, {0xBFFF, 0xEE}, {0xFFFE, 0xEAEE}}},  // empty 3-0, 3-1
        {0xFF, 0xAA, {{0xFE, 0}}, {{0xBFFF, 0x50}, {0xFFFF, 0x55}}},
        {0xFF, 0xAA, {{0xFC, 0}, {0x3FFF, 0x99}, {0xFFFE, 0x77}},
         {{0xFFFF, 0x55}, {0x3FFF, 0x99}, {0x3FFE, 0x77}, {0xFFFE, 0x5577}}},
    };
    for (const Case& c : cases) {
        SetUp();
        outPort(0xA8, c.primary);
        writeMemory(0xFFFF, c.secondary);
        for (const auto& [at, value] : c.then)
            at < 0x100 ? outPort(static_cast<uint8_t>(at), value) : writeMemory(at, value);
        for (const auto& [address, expected] : c.reads)
            EXPECT_EQ(address == 0xFFFE ? readMemoryWord(address) : readMemory(address), expected)
                << "case " << &c - cases << std::hex << " at " << address;
        EXPECT_EQ(std::count(emptyRAM_.get(), emptyRAM_.get() + kEmptyRAMSize, 0xEE), kEmptyRAMSize);
    }
}

}  // namespace
}  // namespace tavir
