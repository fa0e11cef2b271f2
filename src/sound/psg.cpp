#include "sound/psg.h"

#include <cstring>

#include "frontend/joystick_state.h"

namespace tavir {

PSGState psg;

void resetPSG() {
    std::memset(psg.psgRegisters, 0xFF, sizeof psg.psgRegisters);
}

void writePSG(uint8_t value) {
    psg.psgRegisters[psg.psgIndex] = value;
}

uint8_t readPSG() {
    if (psg.psgIndex != kPSGJoystickRegister) return psg.psgRegisters[psg.psgIndex];
    // Bits 7-6 of port A are not wired to the joystick connector (the keyboard layout and
    // cassette input on a real machine); they read back as written here.
    const bool firstPort = (psg.psgRegisters[kPSGJoystickSelectRegister] & 0x40) != 0;
    const uint8_t pins = joystickState[firstPort ? 0 : 1];
    return static_cast<uint8_t>((psg.psgRegisters[kPSGJoystickRegister] & 0xC0) | pins);
}

}  // namespace tavir
