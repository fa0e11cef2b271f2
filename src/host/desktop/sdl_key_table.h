// The host keyboard as the machine knows it: SDL scan codes translated into the
// DirectInput scan codes that KeyMap and CommandKey in msx.cfg are written in.
#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>

namespace tavir {

// 0 for keys that have no DirectInput code (0 is never down, so they do nothing).
uint8_t directInputCode(SDL_Scancode scancode);

}  // namespace tavir
