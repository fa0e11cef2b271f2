#include "core/settings.h"

#include <cstdio>
#include <iterator>

#include "core/config_parser.h"
#include "core/log.h"
#include "core/shipped_config.h"

namespace tavir {

Settings settings;

namespace {

// Flags stored as 1 when the value is nonzero.
void readFlag(ConfigValues& values, uint8_t& flag) {
    uint8_t value;
    if (values.next(value)) flag = value != 0 ? 1 : 0;
}

void readKeyMap(ConfigValues& values, uint8_t (&row)[8]) {
    for (int bit = 7; bit >= 0; --bit) values.next(row[bit]);
}

// Without the file the shipped settings hold: a machine at speed 0 with no keys mapped
// would stand still with no word of why.
bool readSettingsOrShipped(const char* path, const ConfigKey* keys, size_t keyCount) {
    if (readConfigFile(path, keys, keyCount)) return true;
    std::FILE* shipped = fmemopen(const_cast<char*>(kShippedMachineConfig),
                                  sizeof kShippedMachineConfig - 1, "r");
    if (shipped != nullptr) {
        readConfigStream(shipped, keys, keyCount);
        std::fclose(shipped);
    }
    return false;
}

}  // namespace

bool readMachineSettings(Settings& target, const char* path) {
    Settings& s = target;
    const ConfigKey keys[] = {
        {"HInterruptOffset", [&s](ConfigValues& v) { v.nextSigned(s.HInterruptOffset); }},
        {"MSXSpeed",
         [&s](ConfigValues& v) {
             uint16_t speed;
             if (v.next16(speed)) s.MSXSpeed = speed;
         }},
        {"DisplayMode", [&s](ConfigValues& v) { v.next(s.DisplayMode); }},
        {"CheckSprite", [&s](ConfigValues& v) { readFlag(v, s.CheckSprite); }},
        {"SpriteLimit", [&s](ConfigValues& v) { readFlag(v, s.SpriteLimit); }},
        {"Joypad1", [&s](ConfigValues& v) { v.next(s.Joypad1); }},
        {"Joypad2", [&s](ConfigValues& v) { v.next(s.Joypad2); }},
        {"UseNumpad", [&s](ConfigValues& v) { v.next(s.UseNumpad); }},
        {"CommandKey",
         [&s](ConfigValues& v) {
             for (uint8_t& key : s.CommandKey) v.next(key);
         }},
        {"KeyMap0", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[0]); }},
        {"KeyMap1", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[1]); }},
        {"KeyMap2", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[2]); }},
        {"KeyMap3", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[3]); }},
        {"KeyMap4", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[4]); }},
        {"KeyMap5", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[5]); }},
        {"KeyMap6", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[6]); }},
        {"KeyMap7", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[7]); }},
        {"KeyMap8", [&s](ConfigValues& v) { readKeyMap(v, s.KeyMap[8]); }},
        {"PadKeys",
         [&s](ConfigValues& v) {
             for (uint8_t& key : s.PadKeys) v.next(key);
         }},
    };
    return readSettingsOrShipped(path, keys, std::size(keys));
}

bool readSoundSettings(Settings& target, const char* path) {
    Settings& s = target;
    const ConfigKey keys[] = {
        {"UsePSG", [&s](ConfigValues& v) { readFlag(v, s.UsePSG); }},
        {"WriteRoom", [&s](ConfigValues& v) { v.next16(s.WriteRoom); }},
        {"WriteSize", [&s](ConfigValues& v) { v.next16(s.WriteSize); }},
        {"PSGVolume", [&s](ConfigValues& v) { v.next16(s.PSGVolume); }},
        {"NoisVolume", [&s](ConfigValues& v) { v.next16(s.NoisVolume); }},
    };
    return readSettingsOrShipped(path, keys, std::size(keys));
}

void logMachineSettings(const Settings& s) {
    logPrint("MSXSpeed = %x\n", static_cast<unsigned>(s.MSXSpeed));
    logPrint("HInterruptOffset = %x\n", static_cast<unsigned>(s.HInterruptOffset));
    logPrint("DisplayMode = %x\n", s.DisplayMode);
    logPrint("CheckSprite = %x\n", s.CheckSprite);
    logPrint("Joypad1 = %x\n", s.Joypad1);
    logPrint("Joypad2 = %x\n", s.Joypad2);
    logPrint("UseNumpad = %x\n", s.UseNumpad);
    const uint8_t* k = s.CommandKey;
    logPrint("CommandKey = %2x %2x %2x %2x %2x %2x %2x %2x %2x %2x\n", k[0], k[1], k[2], k[3],
             k[4], k[5], k[6], k[7], k[8], k[9]);
    for (int row = 0; row < 9; ++row) {
        logPrint("KeyMap%d =", row);
        for (int bit = 0; bit < 8; ++bit) logPrint(" %2x", s.KeyMap[row][bit]);
        logPrint("\n");
    }
}

void logSoundSettings(const Settings& s) {
    logPrint("UsePSG = %x\n", s.UsePSG);
    logPrint("WriteRoom = %x\n", s.WriteRoom);
    logPrint("WriteSize = %x\n", s.WriteSize);
    logPrint("PSGVolume = %x\n", s.PSGVolume);
    logPrint("NoisVolume = %x\n", s.NoisVolume);
}

}  // namespace tavir
