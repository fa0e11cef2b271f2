#include "core/machine.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "cpu/z80.h"
#include "disk/drive_state.h"
#include "core/input_recording.h"
#include "core/log.h"
#include "core/settings.h"
#include "host/regular_file.h"
#include "memory/cartridge.h"
#include "memory/cartridge_list.h"
#include "memory/clock_chip.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"
#include "sound/opll.h"
#include "sound/psg.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace tavir {

CPUState cpu;
SystemMemory systemMemory;
uint16_t frameSchedule[120];

namespace {

std::unique_ptr<uint8_t[]> allocateBlock(size_t size, uint8_t fill) {
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]);
    if (block) std::fill_n(block.get(), size, fill);
    return block;
}

// Loads the first `size` bytes of a system ROM image. A longer file is accepted; a
// shorter, missing or unreadable one fails with the image's own message.
bool loadSystemROM(const char* name, size_t size, std::unique_ptr<uint8_t[]>& block) {
    std::FILE* file = openRegularFile(name, "rb");
    if (file == nullptr) {
        logPrint("%s Open Failed.\n", name);
        return false;
    }
    block = allocateBlock(size, 0xFF);
    if (!block) {
        std::fclose(file);
        logPrint("%s Allocate Failed.\n", name);
        return false;
    }
    const size_t loaded = std::fread(block.get(), 1, size, file);
    std::fclose(file);
    if (loaded != size) {
        logPrint("%s Load Failed.\n", name);
        return false;
    }
    return true;
}

void patchTraps(uint8_t* image, uint16_t base, const uint16_t* entries, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint8_t* entry = image + (entries[i] - base);
        entry[0] = 0xED;  // the emulator trap
        entry[1] = 0xFE;
        entry[2] = 0xC9;  // RET back to the caller
    }
}

}  // namespace

void fillFrameSchedule() {
    for (int i = 0; i < 120; ++i) frameSchedule[i] = static_cast<uint16_t>((i + 1) * 1000 / 60);
}

bool initMSX() {
    settings = Settings{};
    if (!readMachineSettings(settings))
        logPrint("%s not found: using the shipped settings.\n", kMachineConfigFileName);
    cpu.MSXSpeed = settings.MSXSpeed;
    logMachineSettings(settings);

    // A previous run in this process may have left images behind.
    releaseCartridges();

    SystemMemory& m = systemMemory;
    m.emptyRAM = allocateBlock(kEmptyRAMSize, 0xFF);
    if (!m.emptyRAM) {
        logPrint("EmptyRAM Allocate Failed.\n");
        return false;
    }
    initMemoryMap(m.emptyRAM.get());

    if (!loadSystemROM(kMainBIOSFileName, kMainBIOSSize, m.mainBIOS)) return false;
    mapImage(0, 0, 0, m.mainBIOS.get(), 4);
    patchTraps(m.mainBIOS.get(), 0x0000, kMainBIOSPatches, std::size(kMainBIOSPatches));

    if (!loadSystemROM(kSubROMFileName, kSubROMSize, m.subROM)) return false;
    mapImage(3, 1, 0, m.subROM.get(), 2);

    if (!loadSystemROM(kDiskROMFileName, kDiskROMSize, m.diskROM)) return false;
    mapImage(3, 1, 2, m.diskROM.get(), 2);
    patchTraps(m.diskROM.get(), 0x4000, kDiskROMPatches, std::size(kDiskROMPatches));

    if (!loadSystemROM(kFMROMFileName, kFMROMSize, m.fmROM)) return false;
    mapImage(3, 3, 2, m.fmROM.get(), 2);

    m.ram = allocateBlock(kRAMSize, 0x00);
    if (!m.ram) {
        logPrint("RAM Allocate Failed.\n");
        return false;
    }
    attachRAM(m.ram.get());

    if (!loadSystemROM(kKanjiROMFileName, kKanjiROMSize, m.kanjiROM)) return false;

    initClockMemory();
    if (!initVDP()) {
        logPrint("initVDP Failed.\n");
        return false;
    }
    // FM music is not essential: the machine runs on without it.
    if (!initOPLL()) logPrint("initOPLL Failed.\nNot use OPLL.\n");
    // Sound is not needed to run: without it the machine plays on silently.
    if (!initPSG()) logPrint("initPSG Failed.\nNot use PSG.\n");
    fillFrameSchedule();
    resetMachine(cpu);

    initDrives();

    // Cartridges come last: the reset leaves slots 1 and 2 alone, so their images and
    // bank registers stay as loaded.
    loadCartridgeList();
    return true;
}

void resetMachine(CPUState& c) {
    resetCPU(c);
    resetVDP();
    resetMemoryMap();
    resetClockChip();
    resetPortDevices();
    resetPSG();
}

void shutdownMSX() {
    closeLog();
    // The images go first: their bank tables point into EmptyRAM.
    releaseCartridges();
    systemMemory = SystemMemory{};
    releasePSG();
    closeOPLL();
    shutdownVDP();
    closeDrives();
    stopInputRecording();
}

}  // namespace tavir
