// Where each field sits in a state snapshot file. Version 3 is what this machine writes;
// versions 1 and 2 are still read. Every number is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavir::snapshot {

constexpr uint8_t kCurrentVersion = 3;

constexpr size_t kVersion = 0;
constexpr size_t kMapperRegister = 1;  // [4]
constexpr size_t kPageWritable = 5;    // [4]
constexpr size_t kPrimarySlot = 9;     // [4]
constexpr size_t kSecondarySlot = 13;  // [4]
constexpr size_t kPrimarySlotRegister = 17;
constexpr size_t kSecondarySlotRegister = 18;
constexpr size_t kCPUState = 19;        // 52 bytes
constexpr size_t kKeyboardMatrix = 71;  // [16]
constexpr size_t kPPIPortC = 87;
constexpr size_t kPPIMode = 88;
constexpr size_t kClockIndex = 89;
constexpr size_t kClockMode = 90;
constexpr size_t kClockMemory = 91;  // 4 blocks x 13
constexpr size_t kKanjiAddress = 143;
constexpr size_t kKanjiCounter = 147;
constexpr size_t kControlExpectsFirst = 148;
constexpr size_t kWriteSetup = 149;
constexpr size_t kPaletteExpectsFirst = 150;
constexpr size_t kControlFirstByte = 151;
constexpr size_t kPaletteFirstByte = 152;
constexpr size_t kReadAhead = 153;
constexpr size_t kSerialMode = 154;
constexpr size_t kOPLLIndex = 155;
constexpr size_t kOPLLRegisters = 156;  // [57]
constexpr size_t kPSGIndex = 213;
constexpr size_t kPSGRegisters = 214;  // [16]
constexpr size_t kEnvelopeLength = 230;
constexpr size_t kEnvelopeStep = 234;
constexpr size_t kPSGReserved = 238;  // [3]
constexpr size_t kTonePeriod = 241;   // [3]; floats from version 3, integers before
constexpr size_t kTonePhase = 253;    // [3]
constexpr size_t kNoiseRun = 265;
constexpr size_t kNoisePolarity = 269;
constexpr size_t kRandomCounterA = 270;
constexpr size_t kRandomCounterB = 271;
constexpr size_t kRandomAccumulator = 272;
constexpr size_t kVDPRegisters = 276;  // [64]
constexpr size_t kVDPStatus = 340;     // [16]
constexpr size_t kScanLine = 356;
constexpr size_t kDrawPalette = 357;   // [16] x 16 bits
constexpr size_t kDrawPalette2 = 389;  // [16] x 32 bits
constexpr size_t kVRAMAddress = 453;
constexpr size_t kScreenMode = 455;
constexpr size_t kCommandState = 456;  // 40 bytes
constexpr size_t kRAM = 496;           // 64 KB
constexpr size_t kVRAM = 66032;        // 128 KB
constexpr size_t kJoystickState = 197104;
constexpr size_t kTrueColour0 = 197106;
constexpr size_t kTrueColour02 = 197108;

constexpr size_t kCommandStateSize = 40;
constexpr size_t kVersion1Size = 197106;  // ends after the joystick bytes
constexpr size_t kVersion3Size = 197112;  // version 2 has the same length

// The length of a file of `version`; 0 for a version this machine can't read.
constexpr size_t sizeOfVersion(uint8_t version) {
    if (version == 1) return kVersion1Size;
    if (version == 2 || version == 3) return kVersion3Size;
    return 0;
}

}  // namespace tavir::snapshot
