#include "disk/single_image_set.h"

#include <cstdio>
#include <cstring>

#include "disk/disk_set_loader.h"
#include "disk/disk_set_names.h"
#include "disk/drive_state.h"
#include "host/regular_file.h"

namespace tavir {

bool writeSingleImageSet(int drive, const char* imagePath) {
    std::FILE* file = std::fopen(kSingleImageSetFileNames[drive], "wb");
    if (file == nullptr) return false;
    const size_t size = std::strlen(imagePath) + 1;  // the zero byte ends the only line
    const bool written = std::fwrite(imagePath, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void useChosenDiskFile(int drive, const char* path) {
    if (drive < 0 || drive >= kDriveCount) return;
    DriveState& state = drives[drive];
    if (state.setFile != nullptr) {
        std::fclose(state.setFile);
        state.setFile = nullptr;
    }
    const char* setName = path;
    if (imageNameLength(path) != 0) {
        // An older one-image set left on disk must not be mounted in place of the chosen
        // image: if writing fails the drive stays without a set.
        setName = writeSingleImageSet(drive, path) ? kSingleImageSetFileNames[drive] : nullptr;
    }
    if (setName != nullptr) state.setFile = openRegularFile(setName, "rb");
    loadDiskFromSet(drive, 1);
}

}  // namespace tavir
