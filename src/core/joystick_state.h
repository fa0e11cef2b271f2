// The two joystick bytes the PSG's I/O port A shows in register 14. The input poll at
// each frame end builds them; snapshots save and restore them.
#pragma once

#include <cstdint>

namespace tavir {

// A bit is cleared while its switch is closed; bits 7-6 are always 0.
constexpr uint8_t kJoystickUp = 0x01;
constexpr uint8_t kJoystickDown = 0x02;
constexpr uint8_t kJoystickLeft = 0x04;
constexpr uint8_t kJoystickRight = 0x08;
constexpr uint8_t kJoystickTriggerA = 0x10;
constexpr uint8_t kJoystickTriggerB = 0x20;
constexpr uint8_t kJoystickAtRest = 0x3F;

// Index 0 is read while PSG register 15 bit 6 is set, index 1 while it is clear. Both start
// at rest: the polls fill one index per frame, and until then a game must not see every
// direction and both triggers held. A machine reset leaves them alone.
inline uint8_t joystickState[2] = {kJoystickAtRest, kJoystickAtRest};

}  // namespace tavir
