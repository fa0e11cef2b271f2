// Host joysticks through SDL. The main thread opens joysticks as they appear, and after
// each round of events writes the position of every joystick by its device index into a
// table; the emulation thread reads the table. An index without a joystick reads absent.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstdint>

#include "host/host_layer.h"

namespace tavir {

// Main thread: a joystick added or removed (other events are ignored).
void desktopJoystickEvent(const SDL_Event& event);

// Main thread: positions of all joysticks into the table.
void refreshDesktopJoysticks();

// Main thread at exit: closes the open joysticks.
void closeDesktopJoysticks();

// Emulation thread: the HostLayer entry.
bool readDesktopJoystick(uint8_t device, JoystickPosition* position);

// SDL's axis range -32768..32767 as 0..65535.
inline uint32_t joystickAxisFromSDL(int16_t value) {
    return static_cast<uint32_t>(value + 32768);
}

}  // namespace tavir
