// Mapped images past the end of their banks, and which slot a write reaches (the golden
// runs of our mappers cartridge switch every type's banks through every register address).
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

TEST_F(CartridgeMapperTest, A16KBBankPastTheImageShowsEmptyRAM) {
    // 15 selects 8 KB banks 30 and 31 of a 16-bank image: no such memory exists.
    loadMapped(kMapperASCII16);
    writeMemory(0x7000, 15);
    EXPECT_EQ(windows(), (Pages{0, 1, E, E}));

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

    // With the main BIOS slot shown nothing switches.
    setPrimarySlots(0x00);
    writeMemory(0x6000, 7);
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(windows(), (Pages{6, 1, 2, 3}));
}

}  // namespace
}  // namespace tavir::testing
