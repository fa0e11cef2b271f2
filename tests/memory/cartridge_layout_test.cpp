// Where a loaded image appears in its slot, by size, and which files are refused.
#include <filesystem>
#include <vector>

#include "memory/cartridge.h"
#include "memory/cartridge_test_support.h"
#include "memory/memory_map.h"

namespace tavir::testing {
namespace {

using Pages = std::vector<uint8_t>;
constexpr uint8_t E = kEmptyFill;

using CartridgeLayoutTest = CartridgeMapTest;

TEST_F(CartridgeLayoutTest, ImagesUpTo32KBAreMirroredOverTheWholeSlot) {
    load("a8.rom", numberedImage(1), 0, 0);
    load("a16.rom", numberedImage(2), 1, 0);
    setPrimarySlots(kAllPagesSlot1);
    EXPECT_EQ(cpuPages(), (Pages{0, 0, 0, 0, 0, 0, 0, 0}));
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(cpuPages(), (Pages{0, 1, 0, 1, 0, 1, 0, 1}));

    load("a24.rom", numberedImage(3), 0, 0);
    load("a32.rom", numberedImage(4), 1, 0);
    setPrimarySlots(kAllPagesSlot1);
    // A 24 KB image has no fourth bank; EmptyRAM shows in its place.
    EXPECT_EQ(cpuPages(), (Pages{0, 1, 0, 1, 2, E, 2, E}));
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(cpuPages(), (Pages{0, 1, 0, 1, 2, 3, 2, 3}));
}

TEST_F(CartridgeLayoutTest, A96KBImageRoundsUpTo16BanksOfWhichTheLastFourAreEmpty) {
    load("k96.rom", numberedImage(12), 0, 4);  // ASCII8: one write per 8 KB window
    setPrimarySlots(kAllPagesSlot1);
    writeMemory(0x6000, 11);
    EXPECT_EQ(pageAt(0x4000), 11);
    for (uint8_t bank = 12; bank < 16; ++bank) {
        writeMemory(0x6000, bank);
        EXPECT_EQ(pageAt(0x4000), E) << "bank " << int{bank};
    }
    // Bank 16 is bank 0 again through the mask.
    writeMemory(0x6000, 16);
    EXPECT_EQ(pageAt(0x4000), 0);
}

TEST_F(CartridgeLayoutTest, ImagesShorterThanOnePageArePaddedWithFF) {
    load("tiny.rom", std::vector<uint8_t>(100, 0x3C), 0, 0);
    setPrimarySlots(kAllPagesSlot1);
    for (uint16_t base : {0x0000, 0xA000}) {
        EXPECT_EQ(readMemory(static_cast<uint16_t>(base + 99)), 0x3C);
        EXPECT_EQ(readMemory(static_cast<uint16_t>(base + 100)), 0xFF);
        EXPECT_EQ(readMemory(static_cast<uint16_t>(base + 0x1FFF)), 0xFF);
    }
}

TEST_F(CartridgeLayoutTest, AnIncompleteLastPageIsDropped) {
    // 16 KB and a stray byte: still a 16 KB image, not a 24 KB one.
    std::vector<uint8_t> image = numberedImage(2);
    image.push_back(0x77);
    load("odd16.rom", image, 0, 0);
    setPrimarySlots(kAllPagesSlot1);
    EXPECT_EQ(cpuPages(), (Pages{0, 1, 0, 1, 0, 1, 0, 1}));

    // Five pages and 100 bytes: five banks, rounded up to eight; bank 5 is empty.
    image = numberedImage(5);
    image.insert(image.end(), 100, 0x55);
    load("odd40.rom", image, 1, 4);
    setPrimarySlots(kAllPagesSlot2);
    writeMemory(0x6000, 4);
    writeMemory(0x6800, 5);
    EXPECT_EQ(windows(), (Pages{4, E, 2, 3}));
}

TEST_F(CartridgeLayoutTest, MissingEmptyOrUnreadableFilesLeaveTheSlotEmpty) {
    EXPECT_FALSE(loadCartridge("missing.rom", 0));
    writeFile(directory_.path() / "empty.rom", {});
    EXPECT_FALSE(loadCartridge("empty.rom", 0));
    std::filesystem::create_directory(directory_.path() / "folder.rom");
    EXPECT_FALSE(loadCartridge("folder.rom", 1));
    EXPECT_TRUE(slotIsEmpty(1));
    EXPECT_TRUE(slotIsEmpty(2));
}

}  // namespace
}  // namespace tavir::testing
