// The settings of opll.cfg: how the sixteen OPLL instruments and five rhythm drums map
// onto a MIDI device. Every value defaults to 0 when its key is absent.
#pragma once

#include <cstdint>
#include <vector>

namespace tavir {

constexpr const char* kOPLLConfigFileName = "opll.cfg";

struct OPLLSettings {
    uint8_t PNoteNumber[5] = {};  // drum notes: HH, CYM, TOM, SD, BD
    uint8_t PVolume[5] = {};
    uint8_t TVolume[16] = {};     // per OPLL instrument 0-15
    uint8_t ProgramNumber[16] = {};
    uint8_t DeviceNumber = 0;     // 0xFF = no MIDI at all
    uint8_t BankSelect = 0;
    uint8_t BankMSB[16] = {};
    uint8_t BankLSB[16] = {};
    uint8_t NoteOFS[16] = {};     // two's complement note offsets
};

// First pass: every key but InitData. A missing file keeps every default.
bool readOPLLSettings(OPLLSettings& target, const char* path = kOPLLConfigFileName);

// Second pass: the InitData lines in file order, each a count (up to 255) followed by that
// many bytes. A line with fewer bytes than its count keeps the bytes present.
std::vector<std::vector<uint8_t>> readOPLLInitData(const char* path = kOPLLConfigFileName);

// What the shipped config/opll.cfg says, for a working directory without opll.cfg: the
// OPLL presets and drums on General MIDI, and a General MIDI reset at start-up.
OPLLSettings builtInOPLLSettings();
std::vector<std::vector<uint8_t>> builtInOPLLInitData();

void logOPLLSettings(const OPLLSettings& source);

}  // namespace tavir
