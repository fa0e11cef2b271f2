// The SDL-to-DirectInput key table: the codes that msx.cfg and the command keys are
// written in must come out of the physical keys a user presses.
#include <gtest/gtest.h>

#include "host/desktop/sdl_key_table.h"

namespace tavir {
namespace {

TEST(SDLKeyTable, CommandKeysAndTheKeypadComeFromTheirKeys) {
    const struct { SDL_Scancode key; uint8_t code; } cases[] = {
        {SDL_SCANCODE_F12, 0x58},  {SDL_SCANCODE_F6, 0x40},        {SDL_SCANCODE_F7, 0x41},
        {SDL_SCANCODE_F9, 0x43},   {SDL_SCANCODE_F10, 0x44},       {SDL_SCANCODE_F8, 0x42},
        {SDL_SCANCODE_F11, 0x57},  {SDL_SCANCODE_LGUI, 0xDB},      {SDL_SCANCODE_RGUI, 0xDC},
        {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_4, 0x4B},    {SDL_SCANCODE_KP_6, 0x4D},
        {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_2, 0x50},      {SDL_SCANCODE_KP_0, 0x52},
        {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RETURN, 0x1C},
        {SDL_SCANCODE_UP, 0xC8},
    };
    for (const auto& c : cases) EXPECT_EQ(directInputCode(c.key), c.code) << int(c.key);
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

}  // namespace
}  // namespace tavir
