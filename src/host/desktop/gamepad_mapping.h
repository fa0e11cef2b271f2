// Gamepads through SDL's game controller interface, which names buttons by position
// whatever the make: the D-pad and the left stick move the MSX joystick, A and B are its
// triggers, and eight further buttons press PC keys of the user's choosing (PadKeys in
// msx.cfg), which then reach the MSX keyboard through its KeyMap lines.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstdint>

#include "host/host_layer.h"

namespace tavir {

// The buttons PadKeys binds, in its order.
inline constexpr SDL_GameControllerButton kBindableButtons[8] = {
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
};

struct GamepadState {
    uint32_t buttons = 0;  // bit n: SDL_GameControllerButton n held
    int16_t leftX = 0, leftY = 0;
};

// A controller button or axis event into the pad's state; other events change nothing.
void applyGamepadEvent(GamepadState& pad, const SDL_Event& event);

// The pad as a host joystick: the D-pad wins over the stick; A is button 1, B button 2.
JoystickPosition gamepadPosition(const GamepadState& pad);

// Marks down (bit 7) in `keyState` the DirectInput code bound to each held button; code 0
// binds nothing.
void addBoundKeys(const GamepadState& pad, const uint8_t (&padKeys)[8], uint8_t* keyState);

}  // namespace tavir
