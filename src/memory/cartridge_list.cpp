#include "memory/cartridge_list.h"

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/log.h"
#include "core/screen_message.h"
#include "host/regular_file.h"
#include "memory/cartridge.h"

namespace tavir {

namespace {

using Line = char[kCartridgeLineLimit + 1];

// Reads one line, keeping at most the first 254 characters. The rest of a longer line is
// skipped so that the next read starts on the next line, not in this line's tail.
bool readLine(std::FILE* file, Line& line) {
    if (std::fgets(line, sizeof line, file) == nullptr) return false;
    if (std::strchr(line, '\n') == nullptr) {
        int c;
        do c = std::fgetc(file);
        while (c != EOF && c != '\n');
    }
    return true;
}

struct CommandLineCartridge {
    std::string path;
    uint8_t mapper = 0;
};
CommandLineCartridge commandLine;

bool isLetter(char c, char lowerCase) {
    return std::tolower(static_cast<unsigned char>(c)) == lowerCase;
}

// Length of the image name in `line`, counted from the line's start: up to and including
// the first ".rom" at or after the second character. 0 when there is none.
size_t imageNameEnd(const char* line) {
    const size_t length = std::strlen(line);
    for (size_t i = 1; i + 4 <= length; ++i) {
        if (line[i] == '.' && isLetter(line[i + 1], 'r') && isLetter(line[i + 2], 'o') &&
            isLetter(line[i + 3], 'm'))
            return i + 4;
    }
    return 0;
}

void loadListedCartridge(std::FILE* file, int cartridge) {
    const int slot = cartridge + 1;
    Line line;
    if (!readLine(file, line) || line[0] < '0' || line[0] > '0' + kMaxMapperType) {
        logPrint("Not use ROM image in Slot %d.\n", slot);
        return;
    }
    const size_t end = imageNameEnd(line);
    if (end == 0) {
        logPrint("Slot %d bad file name.\n", slot);
        showScreenMessage("Slot %d: cart.drc names no .rom image", slot);
        return;
    }
    line[end] = '\0';
    if (!loadCartridge(line + 1, cartridge)) {
        logPrint("Cannot Load ROM image in Slot %d.\n", slot);
        showScreenMessage("Slot %d: %s cannot be loaded", slot, line + 1);
        return;
    }
    cartridges[cartridge].cartType = static_cast<uint8_t>(line[0] - '0');
}

}  // namespace

void loadCartridgeList() {
    std::FILE* file = openRegularFile(kCartridgeListFileName, "r");
    if (commandLine.path.empty()) {
        if (file == nullptr) {
            logPrint("Not use ROM image.\n");
            return;
        }
        for (int cartridge = 0; cartridge < kCartridgeCount; ++cartridge)
            loadListedCartridge(file, cartridge);
        std::fclose(file);
        return;
    }
    insertCartridge(commandLine.path.c_str(), commandLine.mapper);
    if (file == nullptr) {
        logPrint("Not use ROM image in Slot 2.\n");
        return;
    }
    Line skipped;  // the list's slot 1 gives way to the command line's
    readLine(file, skipped);
    loadListedCartridge(file, 1);
    std::fclose(file);
}

void setCommandLineCartridge(const char* path, uint8_t mapper) {
    commandLine.path = path;
    commandLine.mapper = mapper;
}

bool insertCartridge(const char* path, uint8_t mapper) {
    if (mapper > kMaxMapperType || !loadCartridge(path, 0)) {
        logPrint("Cannot Load ROM image in Slot 1.\n");
        showScreenMessage("Slot 1: %s cannot be loaded", path);
        return false;
    }
    cartridges[0].cartType = mapper;
    return true;
}

}  // namespace tavir
