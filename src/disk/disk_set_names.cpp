#include "disk/disk_set_names.h"

#include <cctype>
#include <cstring>

namespace tavir {

namespace {

bool sameLetter(char c, char lower) {
    return std::tolower(static_cast<unsigned char>(c)) == lower;
}

// A ".dsk" that a '/' follows before the next blank belongs to a folder's name
// ("backup.dsk.d/game.dsk"), not to the image's.
bool inFolderName(const char* rest) {
    for (; *rest != '\0' && !std::isspace(static_cast<unsigned char>(*rest)); ++rest) {
        if (*rest == '/') return true;
    }
    return false;
}

}  // namespace

size_t imageNameLength(const char* line) {
    const size_t length = std::strlen(line);
    for (size_t i = 0; i + 4 <= length; ++i) {
        if (line[i] == '.' && sameLetter(line[i + 1], 'd') && sameLetter(line[i + 2], 's') &&
            sameLetter(line[i + 3], 'k') && !inFolderName(line + i + 4)) {
            return i + 4;
        }
    }
    return 0;
}

void makeStatusMapName(const char* imageName, size_t length, char* mapName) {
    std::memcpy(mapName, imageName, length);
    mapName[length - 2] = 'd';
    mapName[length - 1] = 's';
    mapName[length] = '\0';
}

}  // namespace tavir
