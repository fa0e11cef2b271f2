// DSKIO: sector transfers between the disk and the Z80's memory.
#include "disk/disk_service_entries.h"
#include "disk/drive_state.h"
#include "disk/media_table.h"
#include "disk/sector_io.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"

namespace tavir {

namespace {

constexpr uint8_t kAllSlot3 = 0xFF;      // port 0xA8: every page on slot 3
constexpr uint8_t kAllSubslot2 = 0xAA;   // every page on slot 3-2, the RAM
constexpr uint8_t kSuccessFlags = 0xFE;  // carry clear, every other flag set

// Moves one sector; the status says whether it happened.
uint8_t transferSector(uint8_t drive, uint32_t sector, uint16_t address, bool toDisk) {
    uint8_t buffer[kSectorSize];
    if (toDisk) {
        for (int i = 0; i < kSectorSize; ++i) buffer[i] = readMemory(address + i);
        return writeSector(drive, sector, buffer);
    }
    const uint8_t status = readSector(drive, sector, buffer);
    if (status == kStatusDone) {
        for (int i = 0; i < kSectorSize; ++i) writeMemory(address + i, buffer[i]);
    }
    return status;
}

}  // namespace

// In: A drive, B sector count, C media descriptor, DE first sector, HL memory address,
// carry set to write to disk. Out: B sectors transferred; DE and HL unchanged.
void serviceDSKIO(CPUState& cpu) {
    cpu.stateFlags |= kIFF1;  // the driver returns with interrupts enabled
    const uint8_t drive = cpu.af.high;
    const bool toDisk = (cpu.af.low & kFlagC) != 0;
    uint32_t count = cpu.bc.high;
    cpu.bc.high = 0;

    if (!driveReady(drive)) return reportDiskError(cpu, kErrorNotReady);
    const MediaEntry* medium = findMedium(cpu.bc.low);
    if (medium == nullptr) return reportDiskError(cpu, kErrorOther);
    if (cpu.de.word + count > medium->totalSectors) {
        return reportDiskError(cpu, kErrorRecordNotFound);
    }
    // The transfer stops at the top of memory rather than wrap round to 0x0000; the
    // caller sees the shorter count in B.
    const uint32_t room = 0x10000 - cpu.hl.word;
    if (count * kSectorSize > room) count = room / kSectorSize;

    // Whatever the caller had mapped, the transfer sees the 64 KB of RAM.
    const uint8_t savedPrimary = memoryMap.primarySlotRegister;
    const uint8_t savedSecondary = memoryMap.secondarySlotRegister;
    outPort(0xA8, kAllSlot3);
    setSecondarySlots(kAllSubslot2);

    uint8_t status = kStatusDone;
    uint16_t address = cpu.hl.word;
    for (uint32_t i = 0; i < count && status == kStatusDone; ++i) {
        status = transferSector(drive, cpu.de.word + i, address, toDisk);
        if (status == kStatusDone) {
            ++cpu.bc.high;
            address = static_cast<uint16_t>(address + kSectorSize);
        }
    }

    setSecondarySlots(savedSecondary);
    outPort(0xA8, savedPrimary);
    if (status != kStatusDone) return reportDiskError(cpu, status);
    cpu.af.low = kSuccessFlags;
}

}  // namespace tavir
