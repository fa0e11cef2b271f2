// DSKFMT: a fresh file system on the disk in a drive, 720 KB or 360 KB.
#include <algorithm>

#include "disk/boot_sector.h"
#include "disk/disk_service_entries.h"
#include "disk/drive_state.h"
#include "disk/media_table.h"
#include "disk/sector_io.h"

namespace tavir {

namespace {

void putTemplateWord(int offset, uint32_t value) {
    bootSectorTemplate[offset] = static_cast<uint8_t>(value);
    bootSectorTemplate[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void patchBootSector(const MediaEntry& medium, uint8_t descriptor) {
    bootSectorTemplate[13] = medium.sectorsPerCluster;
    putTemplateWord(17, medium.rootEntries);
    putTemplateWord(19, medium.totalSectors);
    bootSectorTemplate[21] = descriptor;
    putTemplateWord(22, medium.sectorsPerFAT);
    putTemplateWord(24, medium.sectorsPerTrack);
    putTemplateWord(26, medium.heads);
}

// Writes `count` copies of `sector` from `next` on; stops at the first failed write.
uint8_t writeSectors(uint8_t drive, uint32_t& next, uint32_t count, const uint8_t* sector) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t status = writeSector(drive, next++, sector);
        if (status != kStatusDone) return status;
    }
    return kStatusDone;
}

// Everything after the boot sector: two FATs (whatever the boot sector's FAT count says),
// the root directory, and the data area filled with 0xFF.
uint8_t writeFileSystem(uint8_t drive, const MediaEntry& medium, uint8_t descriptor) {
    uint8_t sector[kSectorSize] = {};
    uint32_t next = 1;
    for (int copy = 0; copy < 2; ++copy) {
        sector[0] = descriptor;  // the FAT starts with the media byte and two 0xFF
        sector[1] = 0xFF;
        sector[2] = 0xFF;
        uint8_t status = writeSectors(drive, next, 1, sector);
        if (status != kStatusDone) return status;
        std::fill_n(sector, 3, 0);
        status = writeSectors(drive, next, medium.sectorsPerFAT - 1u, sector);
        if (status != kStatusDone) return status;
    }
    const uint32_t directorySectors = medium.rootEntries / 16u;  // 16 entries per sector
    const uint8_t status = writeSectors(drive, next, directorySectors, sector);
    if (status != kStatusDone) return status;
    std::fill_n(sector, kSectorSize, 0xFF);
    return writeSectors(drive, next, medium.totalSectors - next, sector);
}

// A failed write is always reported. A write-protected sector reads as a write fault, as
// the disk as a whole is then not formatted.
uint8_t formatError(uint8_t status) {
    return status == kErrorWriteProtected ? kErrorWriteFault : status;
}

}  // namespace

// In: A choice (1: 720 KB double-sided, 2: 360 KB single-sided), D drive.
void serviceDSKFMT(CPUState& cpu) {
    const uint8_t choice = cpu.af.high;
    const uint8_t drive = cpu.de.high;
    if (choice == 0 || choice > 2) return reportDiskError(cpu, kErrorOther);
    if (!driveReady(drive)) return reportDiskError(cpu, kErrorNotReady);

    const uint8_t descriptor = static_cast<uint8_t>(kFirstMediaDescriptor + 2 - choice);
    const MediaEntry& medium = mediaTable[2 - choice];
    patchBootSector(medium, descriptor);
    uint8_t status = writeSector(drive, 0, bootSectorTemplate.data());
    if (status != kStatusDone) return reportDiskError(cpu, status);
    status = writeFileSystem(drive, medium, descriptor);
    if (status != kStatusDone) return reportDiskError(cpu, formatError(status));
    cpu.af.low &= static_cast<uint8_t>(~kFlagC);
}

}  // namespace tavir
