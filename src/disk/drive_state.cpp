#include "disk/drive_state.h"

#include <string>

#include "disk/disk_set_loader.h"
#include "disk/single_image_set.h"
#include "core/log.h"
#include "host/regular_file.h"

namespace tavir {

DriveState drives[kDriveCount];

namespace {
std::string commandLineDisk;
}  // namespace

void setCommandLineDisk(const char* path) {
    commandLineDisk = path;
}

namespace {

void closeFile(std::FILE*& file) {
    if (file == nullptr) return;
    std::fclose(file);
    file = nullptr;
}

}  // namespace

bool driveReady(uint8_t drive) {
    return drive < kDriveCount && drives[drive].diskNumber != 0 &&
           drives[drive].imageFile != nullptr;
}

void closeDiskImage(DriveState& drive) {
    closeFile(drive.imageFile);
    closeFile(drive.mapFile);
    drive.imageWritable = false;
}

void closeDrives() {
    for (DriveState& drive : drives) {
        closeDiskImage(drive);
        closeFile(drive.setFile);
    }
}

void initDrives() {
    // A machine started again in the same process begins with empty drives and zeroed
    // status maps, as at program start.
    closeDrives();
    for (DriveState& drive : drives) drive = DriveState{};

    for (int index = 0; index < kDriveCount; ++index) {
        DriveState& drive = drives[index];
        if (index == 0 && !commandLineDisk.empty()) {
            useChosenDiskFile(0, commandLineDisk.c_str());
            continue;
        }
        drive.setFile = openRegularFile(kDefaultSetFileNames[index], "rb");
        if (drive.setFile == nullptr) {
            logPrint("%c drive not use.\n", 'A' + index);
            continue;
        }
        loadDiskFromSet(index, 1);
    }
}

}  // namespace tavir
