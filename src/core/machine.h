// The machine's start-up, reset and shutdown, and the records every part shares.
#pragma once

#include <cstdint>
#include <memory>

#include "cpu/cpu_state.h"

namespace tavir {

// The blocks start-up allocates once; nothing is allocated again until shutdown.
struct SystemMemory {
    std::unique_ptr<uint8_t[]> emptyRAM;  // 16 KB, behind every unpopulated page
    std::unique_ptr<uint8_t[]> mainBIOS;  // 32 KB, slot 0
    std::unique_ptr<uint8_t[]> subROM;    // 16 KB, slot 3-1 0x0000
    std::unique_ptr<uint8_t[]> diskROM;   // 16 KB, slot 3-1 0x4000
    std::unique_ptr<uint8_t[]> fmROM;     // 16 KB, slot 3-3 0x4000
    std::unique_ptr<uint8_t[]> ram;       // 64 KB, mapper segments 0-3 in slot 3-2
    std::unique_ptr<uint8_t[]> kanjiROM;  // 256 KB, read through the Kanji ports
};

// The system ROM images, looked up in the working directory.
constexpr const char* kMainBIOSFileName = "MSX2P.rom";
constexpr const char* kSubROMFileName = "MSX2PEXT.rom";
constexpr const char* kDiskROMFileName = "DISK.rom";
constexpr const char* kFMROMFileName = "FMBIOS.rom";
constexpr const char* kKanjiROMFileName = "KANJI.rom";

constexpr int kMainBIOSSize = 0x8000;
constexpr int kSubROMSize = 0x4000;
constexpr int kDiskROMSize = 0x4000;
constexpr int kFMROMSize = 0x4000;
constexpr int kKanjiROMSize = 0x40000;

// The BIOS entries the emulator serves itself: each gets ED FE C9 (trap, RET).
inline constexpr uint16_t kMainBIOSPatches[] = {0x00E1, 0x00E4, 0x00E7, 0x00EA,
                                                0x00ED, 0x00F0, 0x00F3};  // cassette
inline constexpr uint16_t kDiskROMPatches[] = {0x4010, 0x4013, 0x4016, 0x401C, 0x401F};

extern CPUState cpu;
extern SystemMemory systemMemory;

// Millisecond deadlines of 60 frames per second: entry i is (i + 1) x 1000 / 60.
extern uint16_t frameSchedule[120];

// Fills frameSchedule; start-up calls it, and so can anything that runs frames without it.
void fillFrameSchedule();

// Reads msx.cfg, allocates and loads the system ROMs, patches the trap entries, resets
// the machine and mounts disk 1 of each drive's set. Returns false after logging the
// failure; shutdownMSX then releases whatever was obtained.
bool initMSX();

void resetMachine(CPUState& cpu);

// Closes the log, releases every block and closes the drives' files. Safe to call after
// a failed start-up and more than once.
void shutdownMSX();

}  // namespace tavir
