#include "frontend/launch_options.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tavir {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWith(const std::string& text, const char* ending) {
    const size_t length = std::strlen(ending);
    return text.size() > length && text.compare(text.size() - length, length, ending) == 0;
}

}  // namespace

const char* launchUsage() {
    return "usage: tavir [--dir DIR] [--mapper N] [FILE]\n"
           "  FILE          a cartridge (.rom) for slot 1, or a disk image (.dsk) or disk\n"
           "                set (.dfd) for drive A, in place of cart.drc / adrive.dfd\n"
           "  --dir DIR     working directory: system ROMs, msx.cfg, the log, snapshots and\n"
           "                screenshots (default: the current directory if it holds any\n"
           "                system ROM, else $XDG_DATA_HOME/tavir or ~/.local/share/tavir,\n"
           "                filled with C-BIOS and the shipped settings on first use)\n"
           "  --mapper N    the cartridge's mapper: 0 plain or 8 KB windows, 1 one 16 KB\n"
           "                window, 2 Konami SCC, 3 Konami, 4 ASCII8, 5 ASCII16 (default:\n"
           "                from words in the file name: scc, konami, ascii8, ascii16; else 0)\n"
           "  --help        this text\n"
           "Files dropped onto the window go in the same way; a cartridge resets the machine.\n"
           "Choose CPU > Start CPU to run; Help in the menu lists the command keys.\n";
}

FileKind fileKindOf(const std::string& path) {
    const std::string name = lowerCase(path);
    if (endsWith(name, ".rom")) return FileKind::kCartridge;
    if (endsWith(name, ".dsk") || endsWith(name, ".dfd")) return FileKind::kDisk;
    return FileKind::kOther;
}

int mapperFromFileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string name = lowerCase(slash == std::string::npos ? path : path.substr(slash + 1));
    // SCC before Konami: "Konami SCC" names the SCC mapper; ASCII16 before its prefix.
    if (name.find("scc") != std::string::npos) return 2;
    if (name.find("konami") != std::string::npos) return 3;
    if (name.find("ascii16") != std::string::npos) return 5;
    if (name.find("ascii8") != std::string::npos) return 4;
    return 0;
}

bool parseLaunchOptions(int argc, const char* const* argv, LaunchOptions& options,
                        std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--dir" || argument == "--mapper") {
            if (i + 1 >= argc) {
                error = argument + " needs a value";
                return false;
            }
            const std::string value = argv[++i];
            if (argument == "--dir") {
                options.directory = value;
            } else if (value.size() == 1 && value[0] >= '0' && value[0] <= '5') {
                options.mapper = value[0] - '0';
            } else {
                error = "--mapper takes a digit from 0 to 5, not '" + value + "'";
                return false;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option '" + argument + "'";
            return false;
        } else if (!options.file.empty()) {
            error = "one file at a time: '" + options.file + "' and '" + argument + "'";
            return false;
        } else if (fileKindOf(argument) == FileKind::kOther) {
            error = "'" + argument + "' is neither a cartridge (.rom) nor a disk (.dsk, .dfd)";
            return false;
        } else {
            options.file = argument;
        }
    }
    return true;
}

}  // namespace tavir
