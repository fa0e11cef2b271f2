#include "frontend/opll_settings.h"

#include <algorithm>
#include <iterator>

#include "frontend/config_parser.h"
#include "frontend/log.h"

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
             while (static_cast<int>(message.size()) < std::min<int>(count, kInitDataLimit) &&
                    v.next(byte))
                 message.push_back(byte);
             messages.push_back(std::move(message));
         }},
    };
    readConfigFile(path, keys, std::size(keys));
    return messages;
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
