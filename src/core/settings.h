// The settings of msx.cfg. Start-up reads the machine and input keys; the PSG start-up
// reads the sound keys in a pass of its own. Absent keys keep these defaults.
#pragma once

#include <cstdint>

namespace tavir {

constexpr const char* kMachineConfigFileName = "msx.cfg";

// Positions in the CommandKey line.
enum CommandKeyIndex {
    kCommandKeyQuit,
    kCommandKeyDiskA,
    kCommandKeyDiskB,
    kCommandKeySaveState,
    kCommandKeyLoadState,
    kCommandKeyScreenshot,
    kCommandKeyFrameOutput,
    kCommandKeyPictureSize,
    kCommandKeyFullScreen,
    kCommandKeyModifier,
    kCommandKeyCount
};

struct Settings {
    int32_t MSXSpeed = 0;          // Z80 T-states per scan line
    int32_t HInterruptOffset = 0;  // signed offset of the line-interrupt line
    uint8_t DisplayMode = 0;       // 0 = 320x240, 1 = 640x480
    uint8_t CheckSprite = 0;       // 1 = sprite collision check on every line
    uint8_t SpriteLimit = 0;       // 1 = 4 or 8 sprites per line, reported in S#0
    uint8_t Joypad1 = 0xFF;        // host joystick for MSX joystick port 1; 0xFF = none
    uint8_t Joypad2 = 0xFF;
    uint8_t UseNumpad = 0;         // 1/2 = keypad is joystick 1/2; 3 = keypad mutes MIDI
    // DirectInput scan codes: F12 F6 F7 F9 F10 F8 F11, both Windows keys, right Shift.
    uint8_t CommandKey[kCommandKeyCount] = {0x58, 0x40, 0x41, 0x43, 0x44,
                                            0x42, 0x57, 0xDB, 0xDC, 0x36};
    // KeyMap[row][bit]: the scan code that drives that bit of the keyboard matrix row.
    // The file lists bit 7 first.
    uint8_t KeyMap[9][8] = {};
    // DirectInput codes of the PC keys that gamepad buttons X, Y, Back, Start, the left and
    // right shoulders and the two stick presses hold; 0 = none.
    uint8_t PadKeys[8] = {};

    uint8_t UsePSG = 1;
    uint16_t WriteRoom = 735;    // bytes written ahead of the play cursor
    uint16_t WriteSize = 1460;   // bytes written per frame and buffer
    uint16_t PSGVolume = 2000;   // tone attenuation, 1/100 dB
    uint16_t NoisVolume = 2000;  // noise attenuation, 1/100 dB
};

extern Settings settings;

// One pass over msx.cfg for the machine and input keys; returns whether the file was
// found. Without it the values of the shipped config/msx.cfg, built into the program, hold.
bool readMachineSettings(Settings& target, const char* path = kMachineConfigFileName);

// One pass over msx.cfg for the PSG keys, with the same fallback.
bool readSoundSettings(Settings& target, const char* path = kMachineConfigFileName);

// The settings lines that start-up writes to the log, in order.
void logMachineSettings(const Settings& source);
void logSoundSettings(const Settings& source);

}  // namespace tavir
