// A plain joystick (one SDL has no game-controller mapping for) through the desktop's
// events, played by SDL's virtual joystick: plugged in, moved, buttons pressed, unplugged.
#include "host/desktop/desktop_joysticks.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

namespace tavir {
namespace {

TEST(DesktopJoysticks, AStickAndItsFirstThreeButtonsReachTheTableUntilUnplugged) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) GTEST_SKIP() << SDL_GetError();
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Event added{};
    added.type = SDL_JOYDEVICEADDED;
    added.jdevice.which = device;
    desktopJoystickEvent(added);
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(stick, nullptr);

    // Full left and down; buttons 0, 2 and 3 held: the fourth has no MSX pin.
    SDL_JoystickSetVirtualAxis(stick, 0, -32768);
    SDL_JoystickSetVirtualAxis(stick, 1, 32767);
    for (int button : {0, 2, 3}) SDL_JoystickSetVirtualButton(stick, button, SDL_PRESSED);
    SDL_JoystickUpdate();
    refreshDesktopJoysticks();
    JoystickPosition position{};
    ASSERT_TRUE(readDesktopJoystick(static_cast<uint8_t>(device), &position));
    EXPECT_EQ(position.x, 0u);
    EXPECT_EQ(position.y, 65535u);
    EXPECT_EQ(position.buttons, 0b101u);

    SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
    SDL_JoystickSetVirtualButton(stick, 1, SDL_PRESSED);
    SDL_JoystickUpdate();
    refreshDesktopJoysticks();
    ASSERT_TRUE(readDesktopJoystick(static_cast<uint8_t>(device), &position));
    EXPECT_EQ(position.buttons, 0b110u);

    SDL_Event removed{};
    removed.type = SDL_JOYDEVICEREMOVED;
    removed.jdevice.which = SDL_JoystickInstanceID(stick);
    desktopJoystickEvent(removed);
    SDL_JoystickDetachVirtual(device);
    refreshDesktopJoysticks();
    EXPECT_FALSE(readDesktopJoystick(static_cast<uint8_t>(device), &position));
    closeDesktopJoysticks();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace tavir
