#include "disk/disk_set_loader.h"

#include <cstdio>

#include "disk/disk_set_names.h"
#include "disk/drive_state.h"
#include "core/log.h"
#include "core/screen_message.h"
#include "host/regular_file.h"

namespace tavir {

namespace {

// Reads the next line of a set file into `line`, keeping at most kSetLineLimit characters.
// The rest of a longer line is skipped, so line n is always disk n. False when the file
// ends before the line starts.
bool readSetLine(std::FILE* file, char (&line)[kSetLineLimit + 1]) {
    int c = std::getc(file);
    if (c == EOF) return false;
    size_t length = 0;
    while (c != EOF && c != '\n') {
        if (length < kSetLineLimit) line[length++] = static_cast<char>(c);
        c = std::getc(file);
    }
    line[length] = '\0';
    return true;
}

void openImage(DriveState& drive, const char* name) {
    drive.imageFile = openRegularFile(name, "r+b");
    drive.imageWritable = drive.imageFile != nullptr;
    // A write-protected image still reads; its writes then fail as write faults.
    if (drive.imageFile == nullptr) drive.imageFile = openRegularFile(name, "rb");
    // Unbuffered: the same image may sit in both drives (or be named twice) through two
    // streams, and a read through one must see what the other just wrote. A stream's
    // read buffer would hand back the sector as it was.
    if (drive.imageFile != nullptr) std::setvbuf(drive.imageFile, nullptr, _IONBF, 0);
}

// The map is present exactly while its file stays open. A short map replaces only the
// statuses it holds; the others keep their previous values.
void openStatusMap(DriveState& drive, const char* imageName, size_t length) {
    char mapName[kSetLineLimit + 1];
    makeStatusMapName(imageName, length, mapName);
    drive.mapFile = openRegularFile(mapName, "rb");
    if (drive.mapFile == nullptr) return;
    std::fread(drive.sectorStatusMap, 1, kStatusMapSize, drive.mapFile);
}

}  // namespace

void loadDiskFromSet(int index, uint8_t n) {
    if (index < 0 || index >= kDriveCount) return;
    DriveState& drive = drives[index];
    const char letter = static_cast<char>('A' + index);

    closeDiskImage(drive);
    if (drive.setFile == nullptr) {
        logPrint("%c drive is not used.\n", letter);
        showScreenMessage("Drive %c: no disk set", letter);
        return;
    }

    std::rewind(drive.setFile);
    char line[kSetLineLimit + 1];
    bool lineRead = n != 0;  // disk 0 names no line
    for (int number = 1; number <= n && lineRead; ++number) {
        lineRead = readSetLine(drive.setFile, line);
    }
    if (!lineRead) {
        logPrint("#%d disk not exist.\n", n);
        showScreenMessage("Drive %c: the set has no disk %d", letter, n);
        return;
    }

    const size_t length = imageNameLength(line);
    if (length == 0) {
        logPrint("%c #%d bad file name.\n", letter, n);
        showScreenMessage("Drive %c: line %d of the set names no .dsk image", letter, n);
        return;
    }
    line[length] = '\0';
    openImage(drive, line);
    if (drive.imageFile == nullptr) {
        logPrint("%s cannot open.\n", line);
        showScreenMessage("Drive %c: %s cannot be opened", letter, line);
        return;
    }
    drive.diskNumber = n;
    openStatusMap(drive, line, length);
    showScreenMessage("Drive %c: disk %d, %s%s", letter, n, line,
                      drive.imageWritable ? "" : " (read-only)");
}

}  // namespace tavir
