#include "frontend/user_directory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/machine.h"
#include "core/opll_settings.h"
#include "core/settings.h"
#include "core/shipped_config.h"

namespace tavir {

namespace {

namespace fs = std::filesystem;

// Where Debian's cbios package puts its images.
constexpr const char* kCBIOSDirectory = "/usr/share/cbios";

struct SystemImage {
    const char* name;
    const char* cbiosImage;  // nullptr: a stand-in of `size` bytes of `fill`
    int size;
    char fill;
};

constexpr SystemImage kSystemImages[] = {
    {kMainBIOSFileName, "cbios_main_msx2+.rom", kMainBIOSSize, 0},
    {kSubROMFileName, "cbios_sub.rom", kSubROMSize, 0},
    {kFMROMFileName, "cbios_music.rom", kFMROMSize, 0},
    {kDiskROMFileName, nullptr, kDiskROMSize, '\xFF'},
    {kKanjiROMFileName, nullptr, kKanjiROMSize, 0},
};

// Anything at the name counts as the user's, a dangling link included.
bool present(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// Through a temporary name, so a run stopped half-way leaves no cut-off image that a later
// run would take for the user's own.
bool writeWhole(const fs::path& target, const std::string& bytes) {
    const fs::path part = target.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code error;
    fs::rename(part, target, error);
    if (error) fs::remove(part, error);
    return !error;
}

// C-BIOS's image, if it is a regular file of the size the machine expects.
bool readCBIOSImage(const char* name, int size, std::string& bytes) {
    const fs::path path = fs::path(kCBIOSDirectory) / name;
    std::error_code error;
    if (!fs::is_regular_file(path, error) ||
        fs::file_size(path, error) != static_cast<uintmax_t>(size)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return bytes.size() == static_cast<size_t>(size);
}

}  // namespace

bool holdsSystemROMs(const std::string& directory) {
    for (const SystemImage& image : kSystemImages) {
        if (present(fs::path(directory) / image.name)) return true;
    }
    return false;
}

std::string userDataDirectory() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return (fs::path(data) / "tavir").string();
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return (fs::path(home) / ".local/share/tavir").string();
    return {};
}

bool prepareWorkingDirectory(const std::string& directory, std::string& error) {
    std::error_code made;
    fs::create_directories(directory, made);
    if (made) {
        error = "cannot make " + directory + ": " + made.message();
        return false;
    }
    std::string missing;
    const auto place = [&](const char* name, const std::string& bytes, const std::string& why) {
        const fs::path target = fs::path(directory) / name;
        if (present(target)) return;
        if (bytes.empty() || !writeWhole(target, bytes)) {
            missing += (missing.empty() ? "" : "; ") + std::string(name) +
                       (bytes.empty() ? why : " cannot be written");
        }
    };
    for (const SystemImage& image : kSystemImages) {
        std::string bytes;
        if (image.cbiosImage == nullptr) {
            bytes.assign(static_cast<size_t>(image.size), image.fill);
        } else if (!present(fs::path(directory) / image.name)) {
            readCBIOSImage(image.cbiosImage, image.size, bytes);
        }
        place(image.name, bytes,
              std::string(" is not in ") + kCBIOSDirectory + " (Debian package cbios)");
    }
    place(kMachineConfigFileName, kShippedMachineConfig, "");
    place(kOPLLConfigFileName, kShippedOPLLConfig, "");
    if (missing.empty()) return true;
    error = "in " + directory + ": " + missing;
    return false;
}

}  // namespace tavir
