// The OPLL (YM2413) behind ports 0x7C/0x7D. The chip is not synthesised: every data write
// is compared with an image of its registers, and the changes that matter become MIDI
// messages at once. OPLL channel n (0-8) plays on MIDI channel n; the five rhythm drums
// play on MIDI channel 9, the General MIDI percussion channel.
#pragma once

#include <cstdint>

#include "core/opll_settings.h"

namespace tavir {

constexpr int kOPLLRegisterCount = 0x39;  // registers 0x00-0x38
constexpr int kOPLLChannels = 9;
constexpr int kOPLLDrums = 5;          // HH, CYM, TOM, SD, BD
constexpr int kMIDIMuteChannels = 10;  // MIDI channels 0-9 answer the keypad

// What a snapshot keeps of the chip.
struct OPLLState {
    uint8_t opllIndex;  // port 0x7C, all eight bits kept
    uint8_t opllRegisters[kOPLLRegisterCount];
    uint8_t channelInstrument[kOPLLChannels];  // instrument last programmed, 0-15
};

// What the translation keeps of the MIDI device's side; not part of a snapshot.
struct OPLLTranslation {
    bool opllEnabled;                              // false: DeviceNumber 0xFF or no device
    uint8_t channelNote[kOPLLChannels];            // MIDI note last started
    uint8_t channelKeyOn[kOPLLChannels];           // 0 or 1
    uint8_t rhythmKeys;                            // register 0x0E as last accepted in rhythm mode
    uint8_t drumVolume[kOPLLDrums];                // last volume nibble seen per drum
    uint8_t channelMuteVolume[kMIDIMuteChannels];  // controller 7 per MIDI channel
    bool keypadWasDown;                            // a keypad digit was down at the last frame
};

extern OPLLState opll;
extern OPLLTranslation opllTranslation;
extern OPLLSettings opllSettings;

// Port 0x7C.
inline void selectOPLLRegister(uint8_t value) {
    opll.opllIndex = value;
}

// Port 0x7D: one data write at register `opllIndex`.
void writeOPLL(uint8_t value);

// The expression controller's value for an instrument at a 4-bit OPLL volume: the
// instrument's TVolume at the loudest, none from volume 8 on.
uint8_t melodicExpression(int instrument, int volume);

// Start-up: reads opll.cfg, logs it, opens MIDI device DeviceNumber and sends the
// InitData messages and the controller set-up. False when translation is off for the run.
bool initOPLL();

// Shutdown: closes the device. Sends nothing.
void closeOPLL();

// Controller 120 (All Sound Off) on MIDI channels 0-9: before every emulator command.
void allSoundOff();

// After every command: each channel's program and expression again, from the registers.
void restoreChannels();

// Once a frame when UseNumpad is 3: a keypad digit toggles the volume of one MIDI channel
// (0 = channel 9, the drums; 1-9 = channels 0-8).
void numpadChannelMute();

}  // namespace tavir
