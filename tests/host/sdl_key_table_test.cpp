// The SDL-to-DirectInput key table: the codes that msx.cfg and the command keys are
// written in must come out of the physical keys a user presses.
#include <gtest/gtest.h>

#include <set>

#include "host/desktop/sdl_key_table.h"

namespace tavir {
namespace {

TEST(SDLKeyTable, CommandKeyDefaultsComeFromTheirKeys) {
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F12), 0x58);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F6), 0x40);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F7), 0x41);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F9), 0x43);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F10), 0x44);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F8), 0x42);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_F11), 0x57);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_LGUI), 0xDB);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RGUI), 0xDC);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RSHIFT), 0x36);
}

TEST(SDLKeyTable, KeypadIsDistinctFromTheMainBlock) {
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_4), 0x4B);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_6), 0x4D);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_8), 0x48);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_2), 0x50);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_0), 0x52);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_PERIOD), 0x53);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_ENTER), 0x9C);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_RETURN), 0x1C);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_UP), 0xC8);
    EXPECT_EQ(directInputCode(SDL_SCANCODE_KP_8), 0x48) << "keypad 8 is not the up arrow";
}

TEST(SDLKeyTable, LettersFollowTheKeyboardRows) {
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const uint8_t firstCodes[] = {0x10, 0x1E, 0x2C};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; rows[row][i] != '\0'; ++i) {
            const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + rows[row][i] - 'A');
            EXPECT_EQ(directInputCode(scancode), firstCodes[row] + i) << rows[row][i];
        }
    }
}

TEST(SDLKeyTable, EveryMainKeyHasItsOwnCode) {
    std::set<int> seen;
    for (int scancode = SDL_SCANCODE_A; scancode <= SDL_SCANCODE_KP_PERIOD; ++scancode) {
        const uint8_t code = directInputCode(static_cast<SDL_Scancode>(scancode));
        if (scancode == SDL_SCANCODE_NONUSHASH) continue;  // shares the backslash position
        ASSERT_NE(code, 0) << "scancode " << scancode;
        EXPECT_TRUE(seen.insert(code).second) << "code " << int(code) << " given twice";
    }
}

TEST(SDLKeyTable, UnknownAndOutOfRangeKeysAreNeverDown) {
    EXPECT_EQ(directInputCode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(directInputCode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 5)), 0);
}

}  // namespace
}  // namespace tavir
