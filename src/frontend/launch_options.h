// The desktop program's command line: `tavir [--dir DIR] [--mapper N] [FILE]`. A FILE
// ending in .rom is put into cartridge slot 1, one ending in .dsk or .dfd into drive A.
#pragma once

#include <string>

namespace tavir {

enum class FileKind { kCartridge, kDisk, kOther };

struct LaunchOptions {
    bool help = false;
    std::string directory;  // working directory; empty: the current one, or the per-user one
    std::string file;       // as given on the command line
    int mapper = -1;        // --mapper 0-5; -1: from the file's name
};

// False, with `error` saying why, for an unknown option, a missing or bad value, a second
// FILE or a FILE that is neither a cartridge nor a disk.
bool parseLaunchOptions(int argc, const char* const* argv, LaunchOptions& options,
                        std::string& error);

const char* launchUsage();

// By the name's ending, in any case: .rom, or .dsk/.dfd.
FileKind fileKindOf(const std::string& path);

// The mapper type a cartridge's file name asks for, by the usual words in ROM names
// (SCC, Konami, ASCII8, ASCII16, in any case); 0 (plain, or 8 KB windows) otherwise.
int mapperFromFileName(const std::string& path);

}  // namespace tavir
