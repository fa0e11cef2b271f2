#include "core/keyboard_input.h"

#include <cstdint>

#include "core/input_recording.h"
#include "core/joystick_state.h"
#include "core/settings.h"
#include "host/dik_codes.h"
#include "host/key_state.h"
#include "memory/io_ports.h"

namespace tavir {

constexpr int kHostKeyboardRows = 9;

void pollKeyboard() {
    refreshKeyState();
    for (int row = 0; row < kHostKeyboardRows; ++row) {
        unsigned pressed = 0;
        for (int bit = 0; bit < 8; ++bit) {
            pressed |= static_cast<unsigned>(keyState[settings.KeyMap[row][bit]] >> 7) << bit;
        }
        portDevices.keyboardMatrix[row] = static_cast<uint8_t>(~pressed);
    }
    recordKeyboardRows();
}

void numpadJoystick(int index) {
    uint8_t value = kJoystickAtRest;
    if (keyDown(dik::kNumpad4))
        value &= ~kJoystickLeft;
    else if (keyDown(dik::kNumpad6))
        value &= ~kJoystickRight;
    if (keyDown(dik::kNumpad8))
        value &= ~kJoystickUp;
    else if (keyDown(dik::kNumpad2))
        value &= ~kJoystickDown;
    if (keyDown(dik::kNumpad0)) value &= ~kJoystickTriggerA;
    if (keyDown(dik::kDecimal)) value &= ~kJoystickTriggerB;
    joystickState[index & 1] = value;
}

}  // namespace tavir
