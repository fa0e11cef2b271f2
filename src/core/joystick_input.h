// The host joysticks turned into the two joystick bytes the PSG shows the MSX. One index
// is read per frame, alternating, index 0 first.
#pragma once

#include <cstdint>

namespace tavir {

// Axes 0..65535: below 16384 is left/up, above 49152 right/down, 16384..49152 inclusive
// the centre. Button 1 is trigger A, button 2 trigger B; button 3 never shows in the byte.
uint8_t joystickByteFromPosition(uint32_t x, uint32_t y, uint32_t buttons);

constexpr uint32_t kJoystickButton3 = 0x04;

// Joypad1/Joypad2 value for "no host joystick on this index".
constexpr uint8_t kNoJoystick = 0xFF;

// Refreshes one joystick byte, the indexes taking turns: an index the keypad owns
// (UseNumpad) is left alone, one without a joystick (0xFF in msx.cfg) or whose joystick is
// gone reads at rest. Button 3 held raises the joystick pause command of its index.
void pollJoystick();

// The next poll reads index 0 again, as at program start.
void resetJoystickPhase();

}  // namespace tavir
