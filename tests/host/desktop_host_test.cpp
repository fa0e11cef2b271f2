// The desktop host table as the machine calls it from the emulation thread: pictures and
// display requests reach the main thread, the keyboard is taken only with the focus.
#include "host/desktop/desktop_host.h"

#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

#include "core/emulation_control.h"
#include "host/desktop/desktop_keyboard.h"
#include "host/desktop/picture_mailbox.h"
#include "host/headless_host.h"
#include "host/host_layer.h"
#include "video/display_output.h"
#include "video/frame_buffer.h"

namespace tavir {
namespace {

class DesktopHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        installDesktopHost(SDL_USEREVENT);  // no SDL event queue here: the wake-ups go nowhere
        // A picture equal to the last one posted is not posted again: start from another.
        const uint16_t dot = 0x1234;
        postPicture(reinterpret_cast<const uint8_t*>(&dot), 2, 1, 1);
        while (takeNewestPicture() != nullptr) {
        }
    }
    void TearDown() override {
        desktopFocusChanged(true);
        unacquireDesktopKeyboard();
        installHeadlessHost(HeadlessClock::kReal);
        display.displayMode = 0;
        fullScreen = false;
        initFrameBuffer();
    }
};

TEST_F(DesktopHostTest, EachDisplaySetUpIsOneRequestForTheWindow) {
    const struct {
        int mode;
        bool full;
        int width, height;
    } cases[] = {{1, true, 640, 480}, {0, false, 320, 240}};
    uint32_t serial = latestDisplayRequest().serial;
    for (const auto& c : cases) {
        display.displayMode = c.mode;
        fullScreen = c.full;
        ASSERT_TRUE(initDisplay());
        const DisplayRequest request = latestDisplayRequest();
        EXPECT_EQ(request.serial, ++serial);
        EXPECT_EQ(request.width, c.width);
        EXPECT_EQ(request.height, c.height);
        EXPECT_EQ(request.fullScreen, c.full);
    }
}

TEST_F(DesktopHostTest, APresentedPictureIsTheFrameBuffer) {
    display.displayMode = 0;
    ASSERT_TRUE(initDisplay());
    frameBufferRow(0)[0] = kRedMask565;
    frameBufferRow(239)[319] = kBlueMask565;
    host.presentPicture();
    const Picture* picture = takeNewestPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 240);
    EXPECT_EQ(picture->pixels[0], kRedMask565);
    EXPECT_EQ(picture->pixels[239 * 320 + 319], kBlueMask565);
}

TEST_F(DesktopHostTest, TheEmulationTakesTheKeyboardOnlyWhileTheWindowHasTheFocus) {
    desktopFocusChanged(false);
    host.acquireKeyboard();
    EXPECT_FALSE(desktopKeyboardAcquired());

    desktopFocusChanged(true);  // the emulation is not running: the focus alone takes nothing
    EXPECT_FALSE(desktopKeyboardAcquired());
    host.acquireKeyboard();  // the emulation thread starts
    EXPECT_TRUE(desktopKeyboardAcquired());

    desktopKeyEvent(SDL_SCANCODE_F12, true);
    uint8_t state[256];
    host.readKeyboard(state);
    EXPECT_EQ(state[0x58], 0x80);
    desktopFocusChanged(false);
    host.readKeyboard(state);
    EXPECT_EQ(state[0x58], 0x00) << "the quit key must not stay held when the focus goes";
}

}  // namespace
}  // namespace tavir
