// Reading "cart.drc": which images load with which type, and what the log says otherwise.
#include "memory/cartridge_list.h"

#include <filesystem>
#include <string>

#include "core/log.h"
#include "memory/cartridge.h"
#include "memory/cartridge_test_support.h"

namespace tavir::testing {
namespace {

class CartridgeListTest : public CartridgeMapTest {
protected:
    void SetUp() override {
        CartridgeMapTest::SetUp();
        ASSERT_TRUE(openLog());
    }
    void TearDown() override {
        closeLog();
        CartridgeMapTest::TearDown();
    }

    void image(const std::string& name, int pages) {
        writeFile(directory_.path() / name, numberedImage(pages));
    }

    // Reads the list written as `text` and returns everything logged meanwhile.
    std::string readList(const std::string& text) {
        writeTextFile(directory_.path() / "cart.drc", text);
        return readListAsIs();
    }
    std::string readListAsIs() {
        loadCartridgeList();
        closeLog();
        return readTextFile(directory_.path() / kLogFileName);
    }
};

TEST_F(CartridgeListTest, WithoutTheFileBothSlotsStayEmpty) {
    EXPECT_EQ(readListAsIs(), "Not use ROM image.\n");
    EXPECT_TRUE(slotIsEmpty(1));
    EXPECT_TRUE(slotIsEmpty(2));
}

TEST_F(CartridgeListTest, LineOneFillsSlot1AndLineTwoSlot2) {
    // The name ends at the first ".rom" in any case; the rest of the line is a comment.
    image("big.rom", 16);
    image("small.ROM", 2);
    image("ignored.rom", 1);
    EXPECT_EQ(readList("4big.rom  the first\r\n0small.ROMb.rom\n3ignored.rom\n"), "");
    EXPECT_EQ(cartridges[0].cartType, 4);
    EXPECT_EQ(cartridges[1].cartType, 0);
    setPrimarySlots(kAllPagesSlot1);
    EXPECT_EQ(windows(), (std::vector<uint8_t>{0, 1, 2, 3}));
    setPrimarySlots(kAllPagesSlot2);
    EXPECT_EQ(cpuPages(), (std::vector<uint8_t>{0, 1, 0, 1, 0, 1, 0, 1}));
}

// Each refused line is logged and leaves its slot empty. A name needs ".rom" from the
// second character on (the mapper digit is not part of it); the image must load.
TEST_F(CartridgeListTest, EachRefusedLineLeavesItsSlotEmptyAndSaysWhy) {
    image("x.rom", 2);
    image("game.bin", 2);
    writeFile(directory_.path() / "empty.rom", {});
    std::filesystem::create_directory(directory_.path() / "folder.rom");
    const char* const unused = "Not use ROM image in Slot 1.\nNot use ROM image in Slot 2.\n";
    const char* const badName = "Slot 1 bad file name.\nSlot 2 bad file name.\n";
    const struct { const char* list; std::string log; } cases[] = {
        {"", unused}, {"6x.rom\n", unused}, {"\nax.rom\n", unused},
        {"1game.bin\n2\n", badName}, {"0game.ro\n3rom\n", badName},
        {"3missing.rom\n2empty.rom\n", "Cannot Load ROM image in Slot 1.\nCannot Load ROM image in Slot 2.\n"},
        {"0folder.rom\n", "Cannot Load ROM image in Slot 1.\nNot use ROM image in Slot 2.\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(openLog());  // readList closed it
        EXPECT_EQ(readList(c.list), c.log) << c.list;
        EXPECT_TRUE(slotIsEmpty(1)) << c.list;
        EXPECT_TRUE(slotIsEmpty(2)) << c.list;
    }
}

}  // namespace
}  // namespace tavir::testing
