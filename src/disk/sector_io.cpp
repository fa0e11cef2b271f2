#include "disk/sector_io.h"

#include <sys/stat.h>

#include <cstdio>

#include "disk/drive_state.h"

namespace tavir {

namespace {

// The map covers a 720 KB disk; sectors beyond it have no entry and behave normally.
uint8_t mapStatus(const DriveState& drive, uint32_t sector) {
    if (drive.mapFile == nullptr || sector >= kStatusMapSize) return kStatusDone;
    return drive.sectorStatusMap[sector];
}

// Whether the whole sector lies inside the image file. A short image (a cut-off download)
// must keep its size: a write past its end fails as a read there does.
bool sectorInsideImage(std::FILE* file, uint32_t sector) {
    struct stat status;
    if (::fstat(fileno(file), &status) != 0) return false;
    return (static_cast<uint64_t>(sector) + 1) * kSectorSize <=
           static_cast<uint64_t>(status.st_size);
}

bool seekSector(std::FILE* file, uint32_t sector) {
    return std::fseek(file, static_cast<long>(sector) * kSectorSize, SEEK_SET) == 0;
}

}  // namespace

uint8_t readSector(uint8_t index, uint32_t sector, uint8_t* buffer) {
    if (index >= kDriveCount) return kErrorWriteProtected;
    DriveState& drive = drives[index];
    if (drive.imageFile == nullptr) return kErrorNotReady;  // the last disk change failed
    const uint8_t status = mapStatus(drive, sector);
    if (status != kStatusDone && status != kErrorWriteProtected) return status;
    if (!seekSector(drive.imageFile, sector)) return kErrorSeek;
    if (std::fread(buffer, 1, kSectorSize, drive.imageFile) < kSectorSize) {
        std::clearerr(drive.imageFile);
        return kErrorData;
    }
    return kStatusDone;
}

uint8_t writeSector(uint8_t index, uint32_t sector, const uint8_t* buffer) {
    if (index >= kDriveCount) return kErrorWriteProtected;
    DriveState& drive = drives[index];
    if (drive.imageFile == nullptr) return kErrorNotReady;
    const uint8_t status = mapStatus(drive, sector);
    if (status != kStatusDone) return status;
    if (!drive.imageWritable) return kErrorWriteFault;
    if (!sectorInsideImage(drive.imageFile, sector)) return kErrorData;
    if (!seekSector(drive.imageFile, sector)) return kErrorSeek;
    // Flushed at once: the user may copy or inspect the image while the machine runs.
    if (std::fwrite(buffer, 1, kSectorSize, drive.imageFile) < kSectorSize ||
        std::fflush(drive.imageFile) != 0) {
        std::clearerr(drive.imageFile);
        return kErrorWriteFault;
    }
    return kStatusDone;
}

}  // namespace tavir
