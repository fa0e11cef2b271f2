// The PSG's (AY-3-8910) register file behind ports 0xA0-0xA2. Register 14 is the chip's
// I/O port A, where the two joystick ports are wired; register 15 bit 6 selects which one.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kPSGRegisterCount = 16;
constexpr int kPSGJoystickRegister = 14;
constexpr int kPSGJoystickSelectRegister = 15;

struct PSGState {
    uint8_t psgIndex;                         // register selected through port 0xA0, 0-15
    uint8_t psgRegisters[kPSGRegisterCount];  // R0-R15 as last written
};

extern PSGState psg;

// Part of every machine reset: every register 0xFF. The index is not touched.
void resetPSG();

// Port 0xA0: only the low four bits select a register.
inline void selectPSGRegister(uint8_t value) {
    psg.psgIndex = value & 0x0F;
}

// Port 0xA1: the value goes into the selected register.
void writePSG(uint8_t value);

// Port 0xA2: the selected register; register 14 shows the selected joystick port.
uint8_t readPSG();

}  // namespace tavir
