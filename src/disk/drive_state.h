// The two floppy drives, A and B: the disk set each was given, the image currently in it
// and that image's sector status map.
#pragma once

#include <cstdint>
#include <cstdio>

namespace tavir {

constexpr int kDriveCount = 2;
constexpr int kSectorSize = 512;
constexpr int kStatusMapSize = 1440;  // one byte per sector of a 720 KB disk

// The set files start-up looks for, one per drive.
inline constexpr const char* kDefaultSetFileNames[kDriveCount] = {"adrive.dfd", "bdrive.dfd"};

struct DriveState {
    std::FILE* setFile;    // the ".dfd" list, rewound for every load; null: drive has no set
    std::FILE* imageFile;  // the ".dsk" in the drive, or null
    std::FILE* mapFile;    // open exactly while the image has a status map
    bool imageWritable;    // false when the image could only be opened for reading
    uint32_t diskNumber;   // 1-based line of the set; 0 = drive not used
    // Per sector: 15 normal, 0 write-protected, anything else the error that reading and
    // writing it report. Only consulted while mapFile is open.
    uint8_t sectorStatusMap[kStatusMapSize];
};

extern DriveState drives[kDriveCount];

// A drive can be used when it exists, has a disk number and holds an open image. A drive
// whose last disk change failed keeps its number but has no image: it is not ready.
bool driveReady(uint8_t drive);

// Start-up, after the machine reset: opens "adrive.dfd" and "bdrive.dfd" and mounts disk 1
// of each. A drive without its set file is logged as not used.
void initDrives();

// A disk image or set named on the command line: drive A starts with it, as if chosen
// in its dialog, in place of "adrive.dfd". An empty path clears it.
void setCommandLineDisk(const char* path);

// Shutdown: closes every set, image and map file of both drives.
void closeDrives();

// Takes the current disk out of the drive: image and map closed, the number kept.
void closeDiskImage(DriveState& drive);

}  // namespace tavir
