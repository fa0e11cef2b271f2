// Bank switching of the six mapper types through every address that switches a bank and
// some that must not (a cartridge's own viewer uses only a few of them), images past the
// end of the banks, and which slot a write reaches.
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

// Each type's writes, in order, and the windows 0x4000-0xBFFF afterwards. Writes the type
// must ignore come last, so a type that took them would show other banks.
struct Write {
    uint16_t address;
    uint8_t value;
};
struct SwitchCase {
    uint8_t type;
    std::vector<Write> writes;
    Pages windows;
};

TEST_F(CartridgeMapperTest, EachTypeSwitchesOnlyThroughItsOwnAddresses) {
    const SwitchCase cases[] = {
        // Type 0: the window written to, except the sound registers at 0x9800-0x98FF.
        {kMapperPlain8K,
         {{0x4123, 7}, {0x7000, 0x1D}, {0x97FF, 4}, {0xBFFF, 9}, {0x9800, 5}, {0x98FF, 6}},
         {7, 13, 4, 9}},
        // Type 1: 16 KB banks at 0x4000 through 0x6000-0x7FFF.
        {kMapperBank16K, {{0x7FFF, 2}, {0x4000, 1}, {0x5FFF, 1}, {0x8000, 1}, {0xBFFF, 1}},
         {4, 5, 2, 3}},
        // Type 2: 0x5000, 0x7000, 0x9000, 0xB000 exactly; an SCC probe's 0x3F is masked.
        {kMapperKonamiSCC,
         {{0x5000, 5}, {0x7000, 6}, {0x9000, 0x3F}, {0xB000, 8}, {0x5001, 9}, {0x4000, 9},
          {0x4FFF, 9}},
         {5, 6, 15, 8}},
        // Type 3: the start of each window only.
        {kMapperKonami,
         {{0x4000, 9}, {0x6000, 10}, {0x8000, 11}, {0xA000, 12}, {0x5000, 6}, {0x6001, 6}},
         {9, 10, 11, 12}},
        // Type 4: one 2 KB register area per window in 0x6000-0x7FFF.
        {kMapperASCII8,
         {{0x67FF, 8}, {0x6800, 0x15}, {0x7000, 9}, {0x7FFF, 10}, {0x4000, 1}, {0x5FFF, 1},
          {0x8000, 1}, {0xB000, 1}},
         {8, 5, 9, 10}},
        // Type 5: two 16 KB halves, 0x6000-0x6FFF and 0x7000-0x77FF.
        {kMapperASCII16,
         {{0x6FFF, 7}, {0x77FF, 3}, {0x4000, 1}, {0x5FFF, 1}, {0x8000, 1}, {0xBFFF, 1}},
         {14, 15, 6, 7}},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(int{c.type});
        releaseCartridges();
        loadMapped(c.type);
        EXPECT_EQ(windows(), kStartBanks);
        for (const Write& w : c.writes) writeMemory(w.address, w.value);
        EXPECT_EQ(windows(), c.windows);
    }
}

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
