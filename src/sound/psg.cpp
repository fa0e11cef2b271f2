#include "sound/psg.h"

#include <cstring>

#include "core/joystick_state.h"

namespace tavir {

PSGState psg;

namespace {

// Samples of 44.1 kHz per tone period unit: the chip divides its 1.7897725 MHz clock by 16.
constexpr float kSamplesPerToneUnit = 0.39424f;
// Envelope ticks (three a frame) per envelope period unit.
constexpr double kTicksPerEnvelopeUnit = 0.0023839155;
// Below this many samples a period is too short to carry a phase into the next one.
constexpr float kShortestRescaledPeriod = 10.0f;
// Below this many ticks the step is too coarse to rescale.
constexpr uint32_t kShortestRescaledEnvelope = 10;

void setTonePeriod(int channel) {
    const uint8_t* r = psg.psgRegisters;
    const int units = (r[2 * channel + 1] & 0x0F) * 256 + r[2 * channel];
    const float period = static_cast<float>(units) * kSamplesPerToneUnit;
    float old = psg.tonePeriod[channel];
    if (!(old >= kShortestRescaledPeriod)) old = kShortestRescaledPeriod;
    // The position keeps its fraction of the period, so a glide has no jumps.
    psg.tonePhase[channel] = psg.tonePhase[channel] * period / old;
    psg.tonePeriod[channel] = period;
}

void setEnvelopeLength() {
    const uint8_t* r = psg.psgRegisters;
    const auto length = static_cast<uint32_t>((r[12] * 256 + r[11]) * kTicksPerEnvelopeUnit);
    const uint32_t old = psg.envelopeLength;
    if (old > kShortestRescaledEnvelope) psg.envelopeStep = psg.envelopeStep * length / old;
    psg.envelopeLength = length == 0 ? 1 : length;
}

}  // namespace

void resetPSG() {
    std::memset(psg.psgRegisters, 0xFF, sizeof psg.psgRegisters);
}

void writePSG(uint8_t value) {
    const uint8_t index = psg.psgIndex & 0x0F;
    psg.psgRegisters[index] = value;
    switch (index) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: setTonePeriod(index / 2); break;
        case 8:
        case 9:
        case 10: psg.reserved[index - 8] = 0; break;
        case 11:
        case 12: setEnvelopeLength(); break;
        case 13: psg.envelopeStep = 0; break;  // the envelope restarts, even on the same shape
        default: break;
    }
}

uint8_t readPSG() {
    const uint8_t index = psg.psgIndex & 0x0F;
    if (index != kPSGJoystickRegister) return psg.psgRegisters[index];
    // Bits 7-6 of port A are not wired to the joystick connector (the keyboard layout and
    // cassette input on a real machine); they read back as written here.
    const bool firstPort = (psg.psgRegisters[kPSGJoystickSelectRegister] & 0x40) != 0;
    const uint8_t pins = joystickState[firstPort ? 0 : 1];
    return static_cast<uint8_t>((psg.psgRegisters[kPSGJoystickRegister] & 0xC0) | pins);
}

}  // namespace tavir
