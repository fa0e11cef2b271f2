#include "core/joystick_input.h"

#include "core/emulation_control.h"
#include "core/joystick_state.h"
#include "core/settings.h"
#include "host/host_layer.h"

namespace tavir {

namespace {

constexpr uint32_t kLowThreshold = 16384;
constexpr uint32_t kHighThreshold = 49152;

bool readIndexZeroNext = true;

}  // namespace

uint8_t joystickByteFromPosition(uint32_t x, uint32_t y, uint32_t buttons) {
    uint8_t value = kJoystickAtRest;
    if (x < kLowThreshold)
        value &= ~kJoystickLeft;
    else if (x > kHighThreshold)
        value &= ~kJoystickRight;
    if (y < kLowThreshold)
        value &= ~kJoystickUp;
    else if (y > kHighThreshold)
        value &= ~kJoystickDown;
    if (buttons & 0x01) value &= ~kJoystickTriggerA;
    if (buttons & 0x02) value &= ~kJoystickTriggerB;
    return value;
}

void pollJoystick() {
    const int index = readIndexZeroNext ? 0 : 1;
    readIndexZeroNext = !readIndexZeroNext;
    if (index + 1 == settings.UseNumpad) return;

    const uint8_t device = index == 0 ? settings.Joypad1 : settings.Joypad2;
    JoystickPosition position{};
    if (device == kNoJoystick || !host.readJoystick(device, &position)) {
        joystickState[index] = kJoystickAtRest;
        return;
    }
    joystickState[index] = joystickByteFromPosition(position.x, position.y, position.buttons);
    if (position.buttons & kJoystickButton3) {
        // Never over the window's hold for an open dialog, which must keep the machine still.
        const auto pause = static_cast<uint8_t>(kCommandJoystick1Pause + index);
        uint8_t current = commandCode.load();
        while (current != kCommandHoldForDialog &&
               !commandCode.compare_exchange_weak(current, pause)) {
        }
    }
}

void resetJoystickPhase() {
    readIndexZeroNext = true;
}

}  // namespace tavir
