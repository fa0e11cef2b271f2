// Bank switching of the six mapper types, seen through CPU reads and writes.
#include <vector>

#include "memory/cartridge.h"
#include "memory/cartridge_test_support.h"
#include "memory/memory_map.h"

namespace tavir::testing {
namespace {

using Pages = std::vector<uint8_t>;
constexpr uint8_t E = kEmptyFill;
const Pages kStartBanks = {0, 1, 2, 3};

// A 128 KB image (16 banks, mask 15) of the given type in slot 1, shown in all pages.
class CartridgeMapperTest : public CartridgeMapTest {
protected:
    void loadMapped(uint8_t type) {
        load("mapped.rom", numberedImage(16), 0, type);
        setPrimarySlots(kAllPagesSlot1);
    }
};

TEST_F(CartridgeMapperTest, Type0SwitchesTheWindowWrittenTo) {
    loadMapped(kMapperPlain8K);
    writeMemory(0x4123, 7);
    writeMemory(0xBFFF, 9);
    EXPECT_EQ(windows(), (Pages{7, 1, 2, 9}));
    writeMemory(0x7000, 0x1D);  // masked to 13
    EXPECT_EQ(windows(), (Pages{7, 13, 2, 9}));
}

TEST_F(CartridgeMapperTest, Type0LeavesTheSoundRegistersAt9800Alone) {
    loadMapped(kMapperPlain8K);
    writeMemory(0x9800, 5);
    writeMemory(0x98FF, 6);
    EXPECT_EQ(windows(), kStartBanks);
    writeMemory(0x97FF, 5);
    EXPECT_EQ(pageAt(0x8000), 5);
    writeMemory(0x9900, 6);
    EXPECT_EQ(pageAt(0x8000), 6);
}

TEST_F(CartridgeMapperTest, Type1Switches4000To7FFFIn16KBBanks) {
    loadMapped(kMapperBank16K);
    writeMemory(0x6000, 3);
    EXPECT_EQ(windows(), (Pages{6, 7, 2, 3}));
    writeMemory(0x7FFF, 2);
    EXPECT_EQ(windows(), (Pages{4, 5, 2, 3}));
    for (uint16_t ignored : {0x4000, 0x5FFF, 0x8000, 0xA000, 0xBFFF}) writeMemory(ignored, 1);
    EXPECT_EQ(windows(), (Pages{4, 5, 2, 3}));
}

TEST_F(CartridgeMapperTest, Type2SwitchesOnlyAtTheFourSCCAddresses) {
    loadMapped(kMapperKonamiSCC);
    writeMemory(0x5001, 6);
    writeMemory(0x4000, 6);
    writeMemory(0x4FFF, 6);
    EXPECT_EQ(windows(), kStartBanks);
    writeMemory(0x5000, 5);
    writeMemory(0x7000, 6);
    writeMemory(0x9000, 7);
    writeMemory(0xB000, 8);
    EXPECT_EQ(windows(), (Pages{5, 6, 7, 8}));
    // An SCC probe writes 0x3F to 0x9000: the window follows the masked value.
    writeMemory(0x9000, 0x3F);
    EXPECT_EQ(pageAt(0x8000), 15);
}

TEST_F(CartridgeMapperTest, Type3SwitchesOnlyAtTheStartOfEachWindow) {
    loadMapped(kMapperKonami);
    writeMemory(0x5000, 6);
    writeMemory(0x6001, 6);
    EXPECT_EQ(windows(), kStartBanks);
    writeMemory(0x4000, 9);
    writeMemory(0x6000, 10);
    writeMemory(0x8000, 11);
    writeMemory(0xA000, 12);
    EXPECT_EQ(windows(), (Pages{9, 10, 11, 12}));
}

TEST_F(CartridgeMapperTest, Type4SwitchesEachWindowFromItsOwn2KBRegisterArea) {
    loadMapped(kMapperASCII8);
    // 5 at 0x6800: 0x6000-0x7FFF shows image bytes 0xA000-0xBFFF.
    writeMemory(0x6800, 5);
    EXPECT_EQ(windows(), (Pages{0, 5, 2, 3}));
    writeMemory(0x67FF, 8);
    writeMemory(0x7000, 9);
    writeMemory(0x7FFF, 10);
    EXPECT_EQ(windows(), (Pages{8, 5, 9, 10}));
    writeMemory(0x6800, 0x15);  // masked to 5 again
    EXPECT_EQ(pageAt(0x6000), 5);
    for (uint16_t ignored : {0x4000, 0x5FFF, 0x8000, 0xB000}) writeMemory(ignored, 1);
    EXPECT_EQ(windows(), (Pages{8, 5, 9, 10}));
}

TEST_F(CartridgeMapperTest, Type5SwitchesTwo16KBHalves) {
    loadMapped(kMapperASCII16);
    writeMemory(0x6000, 2);
    EXPECT_EQ(windows(), (Pages{4, 5, 2, 3}));
    writeMemory(0x77FF, 3);
    EXPECT_EQ(windows(), (Pages{4, 5, 6, 7}));
    writeMemory(0x6FFF, 7);
    EXPECT_EQ(windows(), (Pages{14, 15, 6, 7}));
    for (uint16_t ignored : {0x4000, 0x5FFF, 0x8000, 0xBFFF}) writeMemory(ignored, 1);
    EXPECT_EQ(windows(), (Pages{14, 15, 6, 7}));
}

TEST_F(CartridgeMapperTest, A16KBBankPastTheImageShowsEmptyRAM) {
    // 15 selects 8 KB banks 30 and 31 of a 16-bank image: no such memory exists.
    loadMapped(kMapperASCII16);
    writeMemory(0x7000, 15);
    EXPECT_EQ(windows(), (Pages{0, 1, E, E}));
    EXPECT_EQ(memoryMap.pageTable[4], memoryMap.emptyRAM);
    EXPECT_EQ(memoryMap.pageTable[5], memoryMap.emptyRAM);

    releaseCartridges();
    loadMapped(kMapperBank16K);
    writeMemory(0x6000, 0xFF);  // banks 254 and 255 after doubling
    EXPECT_EQ(windows(), (Pages{E, E, 2, 3}));
}

TEST_F(CartridgeMapperTest, ImagesOf32KBOrLessNeverSwitch) {
    load("plain.rom", numberedImage(4), 0, kMapperPlain8K);
    load("small.rom", numberedImage(3), 1, kMapperASCII8);
    setPrimarySlots(kAllPagesSlot1);
    for (uint16_t address : {0x4000, 0x6000, 0x8000, 0xA000, 0xBFFF}) writeMemory(address, 3);
    EXPECT_EQ(windows(), (Pages{0, 1, 2, 3}));
    setPrimarySlots(kAllPagesSlot2);
    for (uint16_t address : {0x6000, 0x6800, 0x7000, 0x7800}) writeMemory(address, 1);
    EXPECT_EQ(windows(), (Pages{0, 1, 2, E}));
}

TEST_F(CartridgeMapperTest, WritesReachOnlyTheCartridgeWhoseSlotThePageShows) {
    load("one.rom", numberedImage(16), 0, kMapperASCII8);
    load("two.rom", numberedImage(8), 1, kMapperASCII8);
    // Page 1 in slot 2: a write there switches cartridge 1 only.
    setPrimarySlots(0x08);
    writeMemory(0x6000, 6);
    EXPECT_EQ(cartridges[1].bankRegister[0], 6);
    EXPECT_EQ(cartridges[0].bankRegister[0], 0);
    setPrimarySlots(kAllPagesSlot1);
    EXPECT_EQ(windows(), kStartBanks);
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(windows(), (Pages{6, 1, 2, 3}));

    // With the main BIOS slot shown nothing switches.
    setPrimarySlots(0x00);
    writeMemory(0x6000, 7);
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(windows(), (Pages{6, 1, 2, 3}));
}

TEST_F(CartridgeMapperTest, ASwitchOfAnUnshownWindowWaitsInTheSlotMap) {
    load("mapped.rom", numberedImage(16), 0, kMapperASCII8);
    ram_[0x4000 * 1] = 0x42;  // segment 1: the one reset puts at 0x8000
    // Page 1 in slot 1; page 2 in slot 3-2, the RAM.
    setPrimarySlots(0x34);
    setSecondarySlots(0x20);
    ASSERT_EQ(readMemory(0x8000), 0x42);
    writeMemory(0x7000, 9);
    EXPECT_EQ(readMemory(0x8000), 0x42);
    EXPECT_EQ(memoryMap.slotMap[1][0][4][0], 9);
    setPrimarySlots(0x14);
    EXPECT_EQ(pageAt(0x8000), 9);
}

TEST_F(CartridgeMapperTest, AResetKeepsTheSelectedBanks) {
    loadMapped(kMapperKonami);
    writeMemory(0xA000, 14);
    resetMemoryMap();
    setPrimarySlots(kAllPagesSlot1);
    EXPECT_EQ(windows(), (Pages{0, 1, 2, 14}));
}

TEST_F(CartridgeMapperTest, AFailedOrUntypedCartridgeIgnoresWrites) {
    load("mapped.rom", numberedImage(16), 0, kMapperASCII8);
    cartridges[0].cartType = kNoCartridge;
    setPrimarySlots(kAllPagesSlot1);
    writeMemory(0x6000, 5);
    EXPECT_EQ(windows(), kStartBanks);
    // The empty slot 2 ignores writes as well.
    setPrimarySlots(kAllPagesSlot2);
    writeMemory(0x6000, 5);
    EXPECT_TRUE(slotIsEmpty(2));
}

}  // namespace
}  // namespace tavir::testing
