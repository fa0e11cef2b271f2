// The memory map, CPU and small port devices in a snapshot image.
#include <cstring>

#include "core/machine.h"
#include "cpu/cpu_snapshot.h"
#include "core/joystick_state.h"
#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_bytes.h"
#include "frontend/snapshot_layout.h"
#include "memory/clock_chip.h"
#include "memory/io_ports.h"
#include "memory/kanji_rom.h"
#include "memory/memory_map.h"

namespace tavir::snapshot {

namespace {

constexpr int kSegments = kRAMSize / kSegmentSize;  // the mapper's four 16 KB segments

// The line countdown runs from MSXSpeed down past zero by at most one instruction; a
// margin of 64 K T-states keeps anything a real run leaves and refuses the absurd, which
// would stall the run loop for minutes before the first line end.
constexpr int32_t kCountdownLimit = 0x10000;

const uint8_t (&cpuBlock(const uint8_t* image))[kCPUStateSnapshotSize] {
    return *reinterpret_cast<const uint8_t(*)[kCPUStateSnapshotSize]>(image + kCPUState);
}

bool eachBelow(const uint8_t* bytes, int count, unsigned limit) {
    for (int i = 0; i < count; ++i)
        if (bytes[i] >= limit) return false;
    return true;
}

}  // namespace

void storeMachineBlock(uint8_t* image) {
    const MemoryMap& m = memoryMap;
    std::memcpy(image + kMapperRegister, m.mapperRegister, 4);
    std::memcpy(image + kPageWritable, m.pageWritable, 4);
    std::memcpy(image + kPrimarySlot, m.primarySlot, 4);
    std::memcpy(image + kSecondarySlot, m.secondarySlot, 4);
    image[kPrimarySlotRegister] = m.primarySlotRegister;
    image[kSecondarySlotRegister] = m.secondarySlotRegister;

    storeCPUState(cpu, *reinterpret_cast<uint8_t(*)[kCPUStateSnapshotSize]>(image + kCPUState));

    std::memcpy(image + kKeyboardMatrix, portDevices.keyboardMatrix, 16);
    image[kPPIPortC] = portDevices.ppiPortC;
    image[kPPIMode] = portDevices.ppiMode;
    image[kSerialMode] = portDevices.serialMode;

    image[kClockIndex] = clockChip.index;
    image[kClockMode] = clockChip.mode;
    std::memcpy(image + kClockMemory, clockChip.memory, sizeof clockChip.memory);

    put32(image + kKanjiAddress, kanjiPorts.address);
    image[kKanjiCounter] = kanjiPorts.counter;

    image[kJoystickState] = joystickState[0];
    image[kJoystickState + 1] = joystickState[1];
}

const char* checkMachineBlock(const uint8_t* image) {
    if (!eachBelow(image + kMapperRegister, 4, kSegments)) return "mapperRegister";
    if (!eachBelow(image + kPageWritable, 4, 2)) return "pageWritable";
    if (!eachBelow(image + kPrimarySlot, 4, 4)) return "primarySlot";
    if (!eachBelow(image + kSecondarySlot, 4, 4)) return "secondarySlot";

    CPUState c{};
    loadCPUState(c, cpuBlock(image));
    // msx.cfg gives two bytes; without the file the machine runs with 0.
    if (c.MSXSpeed < 0 || c.MSXSpeed > 0xFFFF) return "MSXSpeed";
    if (c.cycleCount < -kCountdownLimit || c.cycleCount > kCountdownLimit) return "cycleCount";
    if (c.savedCycleCount < -kCountdownLimit || c.savedCycleCount > kCountdownLimit)
        return "savedCycleCount";
    if (c.pendingVector != kInterruptVector && c.pendingVector != kNoInterrupt)
        return "pendingVector";

    if (image[kClockIndex] > 15) return "clock register index";
    // The address ports only ever set bits 16-5; the counter counts the 32 bytes of one
    // character.
    if (get32(image + kKanjiAddress) & ~0x1FFE0u) return "Kanji address";
    if (image[kKanjiCounter] > 31) return "Kanji counter";
    return nullptr;
}

void loadMachineBlock(const uint8_t* image) {
    MemoryMap& m = memoryMap;
    std::memcpy(m.mapperRegister, image + kMapperRegister, 4);
    std::memcpy(m.pageWritable, image + kPageWritable, 4);
    std::memcpy(m.primarySlot, image + kPrimarySlot, 4);
    std::memcpy(m.secondarySlot, image + kSecondarySlot, 4);
    m.primarySlotRegister = image[kPrimarySlotRegister];
    m.secondarySlotRegister = image[kSecondarySlotRegister];

    loadCPUState(cpu, cpuBlock(image));

    std::memcpy(portDevices.keyboardMatrix, image + kKeyboardMatrix, 16);
    portDevices.ppiPortC = image[kPPIPortC];
    portDevices.ppiMode = image[kPPIMode];
    portDevices.serialMode = image[kSerialMode];

    clockChip.index = image[kClockIndex];
    clockChip.mode = image[kClockMode];
    std::memcpy(clockChip.memory, image + kClockMemory, sizeof clockChip.memory);

    kanjiPorts.address = get32(image + kKanjiAddress);
    kanjiPorts.counter = image[kKanjiCounter];

    joystickState[0] = image[kJoystickState];
    joystickState[1] = image[kJoystickState + 1];
}

void reapplyMemoryMap() {
    const uint8_t primary = memoryMap.primarySlotRegister;
    outPort(0xA8, static_cast<uint8_t>(255 - primary));
    outPort(0xA8, primary);
    const uint8_t secondary = memoryMap.secondarySlotRegister;
    setSecondarySlots(static_cast<uint8_t>(255 - secondary));
    setSecondarySlots(secondary);
    for (int page = 0; page < 4; ++page) {
        const auto port = static_cast<uint8_t>(0xFC + page);
        const uint8_t segment = memoryMap.mapperRegister[page];
        outPort(port, static_cast<uint8_t>(255 - segment));
        outPort(port, segment);
    }
}

// The RAM under 0xFFFF holds the secondary slot register's inverse while page 3 is on
// it; the snapshot takes and gives the RAM's own byte.
void storeRAMBlock(uint8_t* image) {
    if (memoryMap.ram == nullptr) {
        std::memset(image + kRAM, 0, kRAMSize);
        return;
    }
    liftSecondarySlotRegister();
    std::memcpy(image + kRAM, memoryMap.ram, kRAMSize);
    placeSecondarySlotRegister();
}

void loadRAMBlock(const uint8_t* image) {
    if (memoryMap.ram == nullptr) return;
    liftSecondarySlotRegister();
    std::memcpy(memoryMap.ram, image + kRAM, kRAMSize);
    placeSecondarySlotRegister();
}

}  // namespace tavir::snapshot
