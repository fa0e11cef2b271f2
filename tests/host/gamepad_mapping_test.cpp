// A gamepad's SDL controller events, one after another, as the MSX joystick and the PC
// keys its spare buttons hold. Thresholds: the machine counts below 16384 as left/up and
// above 49152 as right/down, so the positions are checked against those.
#include "host/desktop/gamepad_mapping.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavir {
namespace {

SDL_Event button(SDL_GameControllerButton which, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.button = static_cast<uint8_t>(which);
    return event;
}

SDL_Event stick(SDL_GameControllerAxis axis, int16_t value) {
    SDL_Event event{};
    event.caxis = {SDL_CONTROLLERAXISMOTION, 0, 0, static_cast<uint8_t>(axis), 0, 0, 0, value, 0};
    return event;
}

enum Direction { kCentre, kLow, kHigh };
Direction reading(uint32_t value) {
    return value < 16384 ? kLow : value > 49152 ? kHigh : kCentre;
}

TEST(GamepadMapping, EventsBecomeJoystickAndKeys) {
    const uint8_t padKeys[8] = {0x39, 0x02, 0, 0x3B, 0, 0, 0, 0};  // X: SPACE, Y: 1, Start: F1
    const struct { SDL_Event event; Direction x, y; uint32_t buttons; std::vector<uint8_t> keys; } steps[] = {
        {stick(SDL_CONTROLLER_AXIS_LEFTX, -20000), kLow, kCentre, 0, {}},
        {stick(SDL_CONTROLLER_AXIS_LEFTY, 30000), kLow, kHigh, 0, {}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), kHigh, kHigh, 0, {}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_UP, true), kHigh, kLow, 0, {}},  // the D-pad wins
        {button(SDL_CONTROLLER_BUTTON_A, true), kHigh, kLow, 1, {}},
        {button(SDL_CONTROLLER_BUTTON_B, true), kHigh, kLow, 3, {}},
        {button(SDL_CONTROLLER_BUTTON_X, true), kHigh, kLow, 3, {0x39}},
        {button(SDL_CONTROLLER_BUTTON_START, true), kHigh, kLow, 3, {0x39, 0x3B}},
        {button(SDL_CONTROLLER_BUTTON_A, false), kHigh, kLow, 2, {0x39, 0x3B}},
        {button(SDL_CONTROLLER_BUTTON_X, false), kHigh, kLow, 2, {0x3B}},
        {button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), kLow, kLow, 2, {0x3B}},  // the stick
    };
    GamepadState pad;
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(step++);
        applyGamepadEvent(pad, s.event);
        const JoystickPosition position = gamepadPosition(pad);
        EXPECT_EQ(reading(position.x), s.x);
        EXPECT_EQ(reading(position.y), s.y);
        EXPECT_EQ(position.buttons, s.buttons);
        uint8_t keyState[256] = {};
        addBoundKeys(pad, padKeys, keyState);
        std::vector<uint8_t> down;
        for (int code = 0; code < 256; ++code)
            if (keyState[code] & 0x80) down.push_back(static_cast<uint8_t>(code));
        EXPECT_EQ(down, s.keys);
    }
}

}  // namespace
}  // namespace tavir
