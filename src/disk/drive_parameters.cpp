// GETDPB and DSKCHG: the drive parameter block that DOS builds its view of a disk from,
// taken from the disk's own boot sector.
#include "disk/disk_service_entries.h"
#include "disk/drive_state.h"
#include "disk/sector_io.h"
#include "memory/memory_map.h"

namespace tavir {

namespace {

uint16_t bootWord(const uint8_t* boot, int offset) {
    return static_cast<uint16_t>(boot[offset] | boot[offset + 1] << 8);
}

// Consecutive 1 bits from bit 0: the shift that goes with a mask of the form 2^n - 1.
uint8_t lowOnes(uint8_t mask) {
    uint8_t count = 0;
    while (count < 8 && (mask >> count & 1) != 0) ++count;
    return count;
}

void putWord(uint16_t address, int value) {
    writeMemory(address, static_cast<uint8_t>(value));
    writeMemory(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(value >> 8));
}

}  // namespace

// In: A drive, HL address of the DPB. Bytes HL+1 to HL+18 are written through the current
// memory map; HL+0 (the drive number) is the caller's.
void serviceGETDPB(CPUState& cpu) {
    const uint8_t drive = cpu.af.high;
    if (!driveReady(drive)) return reportDiskError(cpu, kErrorNotReady);
    uint8_t boot[kSectorSize];
    // Without a boot sector there is nothing to build the DPB from.
    if (readSector(drive, 0, boot) != kStatusDone) return reportDiskError(cpu, kErrorOther);

    const int sectorSize = bootWord(boot, 11);
    const int sectorsPerCluster = boot[13];
    // Such a disk has no usable geometry: the divisions and shifts below would be
    // meaningless (a cluster of zero sectors, fewer than one directory entry per sector).
    if (sectorSize < 32 || sectorsPerCluster == 0) return reportDiskError(cpu, kErrorOther);

    const int reserved = bootWord(boot, 14);
    const int fatCount = boot[16];
    const int rootEntries = boot[17];  // the DPB holds the low byte only
    const int totalSectors = bootWord(boot, 19);
    const int sectorsPerFAT = bootWord(boot, 22);
    const int firstDirectorySector = reserved + fatCount * sectorsPerFAT;
    const int firstDataSector = firstDirectorySector + rootEntries * 32 / sectorSize;
    const auto directoryMask = static_cast<uint8_t>(sectorSize / 32 - 1);
    const auto clusterMask = static_cast<uint8_t>(sectorsPerCluster - 1);

    const uint16_t dpb = cpu.hl.word;
    const auto at = [dpb](int offset) { return static_cast<uint16_t>(dpb + offset); };
    writeMemory(at(1), boot[21]);  // media descriptor
    putWord(at(2), sectorSize);
    writeMemory(at(4), directoryMask);
    writeMemory(at(5), lowOnes(directoryMask));
    writeMemory(at(6), clusterMask);
    writeMemory(at(7), static_cast<uint8_t>(lowOnes(clusterMask) + 1));
    putWord(at(8), reserved);  // first FAT sector
    writeMemory(at(10), boot[16]);
    writeMemory(at(11), boot[17]);
    putWord(at(12), firstDataSector);
    putWord(at(14), (totalSectors - firstDataSector) / sectorsPerCluster);  // cluster count
    writeMemory(at(16), boot[22]);
    putWord(at(17), firstDirectorySector);
    cpu.af.low &= static_cast<uint8_t>(~kFlagC);
}

// In: A drive, HL address of the DPB. Answers B = 0 ("don't know whether the disk changed")
// and rebuilds the DPB, so DOS always rereads the disk's geometry.
void serviceDSKCHG(CPUState& cpu) {
    cpu.stateFlags |= kIFF1;
    if (!driveReady(cpu.af.high)) return reportDiskError(cpu, kErrorNotReady);
    cpu.bc.high = 0;
    cpu.af.low &= static_cast<uint8_t>(~kFlagC);
    serviceGETDPB(cpu);
}

}  // namespace tavir
