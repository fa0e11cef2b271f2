// The desktop keyboard state the emulation thread copies each frame: key events in DIK
// positions, the keyboard lost with the focus or to a dialog, keys sharing a code.
#include "host/desktop/desktop_keyboard.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavir {
namespace {

class DesktopKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        unacquireDesktopKeyboard();
        acquireDesktopKeyboard();
    }
    void TearDown() override { unacquireDesktopKeyboard(); }
    uint8_t read(uint8_t code) {
        readDesktopKeyboard(state_);
        return state_[code];
    }
    uint8_t state_[256];
};

TEST_F(DesktopKeyboardTest, KeysAreDownBetweenTheirEventsAtTheirDIKCode) {
    desktopKeyEvent(SDL_SCANCODE_RETURN, true);
    desktopKeyEvent(SDL_SCANCODE_A, true);
    EXPECT_EQ(read(0x1C), 0x80);
    EXPECT_EQ(read(0x1E), 0x80);
    EXPECT_EQ(read(0x9C), 0x00) << "the keypad's Enter is another key";
    desktopKeyEvent(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(read(0x1C), 0x00);
    EXPECT_EQ(read(0x1E), 0x80);
}

TEST_F(DesktopKeyboardTest, RepeatsNeedOneUpAndTwoKeysWithOneCodeHoldItUntilBothAreUp) {
    for (int i = 0; i < 5; ++i) desktopKeyEvent(SDL_SCANCODE_SPACE, true);
    desktopKeyEvent(SDL_SCANCODE_SPACE, false);
    EXPECT_EQ(read(0x39), 0x00);

    desktopKeyEvent(SDL_SCANCODE_BACKSLASH, true);
    desktopKeyEvent(SDL_SCANCODE_NONUSHASH, true);
    desktopKeyEvent(SDL_SCANCODE_BACKSLASH, false);
    EXPECT_EQ(read(0x2B), 0x80);
    desktopKeyEvent(SDL_SCANCODE_NONUSHASH, false);
    EXPECT_EQ(read(0x2B), 0x00);
}

TEST_F(DesktopKeyboardTest, LosingTheKeyboardReleasesEveryKey) {
    desktopKeyEvent(SDL_SCANCODE_LSHIFT, true);
    desktopKeyEvent(SDL_SCANCODE_Z, true);
    unacquireDesktopKeyboard();  // focus lost with the keys held: their up events go elsewhere
    EXPECT_FALSE(desktopKeyboardAcquired());
    EXPECT_EQ(read(0x2A), 0x00);
    acquireDesktopKeyboard();
    EXPECT_EQ(read(0x2A), 0x00) << "a key whose release was missed must not stay down";
    EXPECT_EQ(read(0x2C), 0x00);
    desktopKeyEvent(SDL_SCANCODE_Z, true);  // pressed again after the focus came back
    EXPECT_EQ(read(0x2C), 0x80);
}

TEST_F(DesktopKeyboardTest, NothingIsReadWhileTheKeyboardIsNotAcquired) {
    unacquireDesktopKeyboard();
    desktopKeyEvent(SDL_SCANCODE_Q, true);  // typed into the dialog
    EXPECT_EQ(read(0x10), 0x00);
    acquireDesktopKeyboard();
    EXPECT_EQ(read(0x10), 0x00) << "a press the machine didn't own stays with the dialog";
    desktopKeyEvent(SDL_SCANCODE_Q, false);
    desktopKeyEvent(SDL_SCANCODE_Q, true);
    EXPECT_EQ(read(0x10), 0x80);
}

}  // namespace
}  // namespace tavir
