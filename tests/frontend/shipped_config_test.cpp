// The msx.cfg shipped as every new user's default: a full keyboard matrix whose every key
// can actually be pressed on a PC keyboard, and nothing mapped twice.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/settings.h"
#include "host/desktop/sdl_key_table.h"

namespace tavir {
namespace {

const char* const kShippedConfig = TAVIR_CONFIG_DIR "/msx.cfg";

std::set<uint8_t> codesOfThePCKeyboard() {
    std::set<uint8_t> codes;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
        codes.insert(directInputCode(static_cast<SDL_Scancode>(scancode)));
    codes.erase(0);
    return codes;
}

class ShippedConfig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(readMachineSettings(loaded_, kShippedConfig)) << kShippedConfig;
    }
    Settings loaded_;
};

TEST_F(ShippedConfig, RunsAtTheMSXSpeed) { EXPECT_EQ(loaded_.MSXSpeed, 0xE4); }

TEST_F(ShippedConfig, EveryMatrixKeyComesFromAPCKey) {
    const std::set<uint8_t> pcKeys = codesOfThePCKeyboard();
    for (int row = 0; row < 9; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const uint8_t code = loaded_.KeyMap[row][bit];
            EXPECT_NE(code, 0) << "row " << row << " bit " << bit << " is not mapped";
            EXPECT_TRUE(pcKeys.count(code)) << "row " << row << " bit " << bit << ": code "
                                            << std::hex << int(code) << " is on no key";
        }
    }
}

TEST_F(ShippedConfig, NoPCKeyPressesTwoMatrixKeysOrACommand) {
    std::map<uint8_t, std::pair<int, int>> owner;
    for (int row = 0; row < 9; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const uint8_t code = loaded_.KeyMap[row][bit];
            const auto [it, fresh] = owner.emplace(code, std::make_pair(row, bit));
            EXPECT_TRUE(fresh) << std::hex << int(code) << " drives row " << row << " bit " << bit
                               << " and row " << it->second.first << " bit " << it->second.second;
        }
    }
    for (const uint8_t command : loaded_.CommandKey)
        EXPECT_EQ(owner.count(command), 0u)
            << "command key " << std::hex << int(command) << " also types on the MSX";
}

TEST_F(ShippedConfig, KeysSitWhereTheMSXHasThem) {
    // Spot checks of the international matrix: row 0 bit 0 is "0", row 2 bit 6 "A",
    // row 7 bit 7 RETURN, row 8 bit 0 SPACE, row 8 bit 7 cursor right, row 6 bit 0 SHIFT.
    EXPECT_EQ(loaded_.KeyMap[0][0], directInputCode(SDL_SCANCODE_0));
    EXPECT_EQ(loaded_.KeyMap[0][7], directInputCode(SDL_SCANCODE_7));
    EXPECT_EQ(loaded_.KeyMap[2][6], directInputCode(SDL_SCANCODE_A));
    EXPECT_EQ(loaded_.KeyMap[5][7], directInputCode(SDL_SCANCODE_Z));
    EXPECT_EQ(loaded_.KeyMap[6][0], directInputCode(SDL_SCANCODE_LSHIFT));
    EXPECT_EQ(loaded_.KeyMap[7][7], directInputCode(SDL_SCANCODE_RETURN));
    EXPECT_EQ(loaded_.KeyMap[8][0], directInputCode(SDL_SCANCODE_SPACE));
    EXPECT_EQ(loaded_.KeyMap[8][7], directInputCode(SDL_SCANCODE_RIGHT));
}

}  // namespace
}  // namespace tavir
