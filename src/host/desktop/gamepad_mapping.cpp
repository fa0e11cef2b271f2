#include "host/desktop/gamepad_mapping.h"

#include "host/desktop/desktop_joysticks.h"

namespace tavir {

namespace {

bool held(const GamepadState& pad, SDL_GameControllerButton button) {
    return (pad.buttons >> button) & 1u;
}

// One axis: the D-pad's two buttons, else the stick's own reading.
uint32_t axis(const GamepadState& pad, SDL_GameControllerButton low, SDL_GameControllerButton high,
              int16_t stick) {
    if (held(pad, low)) return 0;
    if (held(pad, high)) return 65535;
    return joystickAxisFromSDL(stick);
}

}  // namespace

void applyGamepadEvent(GamepadState& pad, const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const unsigned button = event.cbutton.button;
            if (button >= 32) return;
            if (event.type == SDL_CONTROLLERBUTTONDOWN)
                pad.buttons |= 1u << button;
            else
                pad.buttons &= ~(1u << button);
            return;
        }
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad.leftX = event.caxis.value;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad.leftY = event.caxis.value;
            return;
        default: return;
    }
}

JoystickPosition gamepadPosition(const GamepadState& pad) {
    JoystickPosition position{};
    position.x =
        axis(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, pad.leftX);
    position.y =
        axis(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN, pad.leftY);
    if (held(pad, SDL_CONTROLLER_BUTTON_A)) position.buttons |= 1u;
    if (held(pad, SDL_CONTROLLER_BUTTON_B)) position.buttons |= 2u;
    return position;
}

void addBoundKeys(const GamepadState& pad, const uint8_t (&padKeys)[8], uint8_t* keyState) {
    for (int i = 0; i < 8; ++i) {
        if (padKeys[i] != 0 && held(pad, kBindableButtons[i])) keyState[padKeys[i]] = 0x80;
    }
}

}  // namespace tavir
