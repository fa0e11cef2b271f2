// The two MSX joystick port bytes as PSG register 14 returns them: bit 0 up, 1 down,
// 2 left, 3 right, 4 trigger A, 5 trigger B, each cleared while active; bits 7-6 are 0.
#pragma once

#include <cstdint>

namespace tavir {

constexpr uint8_t kJoystickAtRest = 0x3F;
constexpr uint8_t kJoystickUp = 0x01;
constexpr uint8_t kJoystickDown = 0x02;
constexpr uint8_t kJoystickLeft = 0x04;
constexpr uint8_t kJoystickRight = 0x08;
constexpr uint8_t kJoystickTriggerA = 0x10;
constexpr uint8_t kJoystickTriggerB = 0x20;

// Index 0 is read while PSG register 15 bit 6 is set, index 1 while it is clear.
extern uint8_t joystickState[2];

}  // namespace tavir
