#include "core/opll_settings.h"

#include <iterator>

#include "core/config_parser.h"
#include "core/log.h"

namespace tavir {

namespace {

template <size_t N>
void readBytes(ConfigValues& values, uint8_t (&target)[N]) {
    for (uint8_t& value : target) values.next(value);
}

template <size_t N>
void logBytes(const char* label, const uint8_t (&values)[N]) {
    logPrint("%s", label);
    for (uint8_t value : values) logPrint(" %2x", value);
    logPrint("\n");
}

}  // namespace

bool readOPLLSettings(OPLLSettings& target, const char* path) {
    OPLLSettings& s = target;
    const ConfigKey keys[] = {
        {"PNoteNumber", [&s](ConfigValues& v) { readBytes(v, s.PNoteNumber); }},
        {"PVolume", [&s](ConfigValues& v) { readBytes(v, s.PVolume); }},
        {"TVolume", [&s](ConfigValues& v) { readBytes(v, s.TVolume); }},
        {"ProgramNumber", [&s](ConfigValues& v) { readBytes(v, s.ProgramNumber); }},
        {"DeviceNumber", [&s](ConfigValues& v) { v.next(s.DeviceNumber); }},
        {"BankSelect", [&s](ConfigValues& v) { v.next(s.BankSelect); }},
        {"BankMSB", [&s](ConfigValues& v) { readBytes(v, s.BankMSB); }},
        {"BankLSB", [&s](ConfigValues& v) { readBytes(v, s.BankLSB); }},
        {"NoteOFS", [&s](ConfigValues& v) { readBytes(v, s.NoteOFS); }},
    };
    return readConfigFile(path, keys, std::size(keys));
}

std::vector<std::vector<uint8_t>> readOPLLInitData(const char* path) {
    std::vector<std::vector<uint8_t>> messages;
    const ConfigKey keys[] = {
        {"InitData",
         [&messages](ConfigValues& v) {
             uint8_t count = 0;
             if (!v.next(count)) return;
             std::vector<uint8_t> message;
             uint8_t byte;
             while (message.size() < count && v.next(byte)) message.push_back(byte);
             messages.push_back(std::move(message));
         }},
    };
    readConfigFile(path, keys, std::size(keys));
    return messages;
}

OPLLSettings builtInOPLLSettings() {
    return OPLLSettings{
        .PNoteNumber = {0x2A, 0x31, 0x2D, 0x26, 0x24},
        .PVolume = {0x50, 0x5A, 0x64, 0x6E, 0x78},
        .TVolume = {0x60, 0x70, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x68, 0x60, 0x78, 0x58, 0x7F, 0x7F,
                    0x70, 0x7F, 0x78},
        .ProgramNumber = {0x50, 0x28, 0x18, 0x00, 0x49, 0x47, 0x44, 0x38, 0x10, 0x3C, 0x51, 0x06,
                          0x0B, 0x26, 0x20, 0x1B},
        .DeviceNumber = 0,
        .BankSelect = 0,
        .BankMSB = {},
        .BankLSB = {},
        .NoteOFS = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF4, 0, 0},
    };
}

std::vector<std::vector<uint8_t>> builtInOPLLInitData() {
    return {{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}};  // General MIDI System On
}

void logOPLLSettings(const OPLLSettings& s) {
    logPrint("DeviceNumber = %x\n", s.DeviceNumber);
    logPrint("BankSelect = %x\n", s.BankSelect);
    const uint8_t* n = s.PNoteNumber;
    logPrint("PNoteNumber = %2x %2x %2x %2x %2x\n", n[0], n[1], n[2], n[3], n[4]);
    logBytes("PVolume =", s.PVolume);
    logBytes("BankMSB =", s.BankMSB);
    logBytes("BankLSB =", s.BankLSB);
    logBytes("NoteOFS =", s.NoteOFS);
    logBytes("ProgramNumber =", s.ProgramNumber);
    logBytes("TVolume =", s.TVolume);
}

}  // namespace tavir
