// Shared set-up for tests that start the whole machine: a temporary working directory
// holding the five system ROM images, made from the C-BIOS images and stand-ins.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavir::testing {

inline std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeTextFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A fresh directory under the system's temporary folder, made the working directory for
// the test's lifetime (the machine looks every file up there) and removed afterwards.
class TemporaryWorkingDirectory {
public:
    TemporaryWorkingDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavir-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~TemporaryWorkingDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
    TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

inline const std::filesystem::path kCBIOSDirectory = TAVIR_CBIOS_DIR;

// Puts the system ROM images into `directory`: the C-BIOS main, sub and music ROMs
// under the machine's names, a 16 KB disk ROM of 0xFF bytes and a 256 KB Kanji font
// whose byte at offset i is (i * 7 + i / 256) & 0xFF, so reads can be told apart.
inline void installSystemROMs(const std::filesystem::path& directory) {
    namespace fs = std::filesystem;
    fs::copy_file(kCBIOSDirectory / "cbios_main_msx2+.rom", directory / "MSX2P.rom",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(kCBIOSDirectory / "cbios_sub.rom", directory / "MSX2PEXT.rom",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(kCBIOSDirectory / "cbios_music.rom", directory / "FMBIOS.rom",
                  fs::copy_options::overwrite_existing);
    writeFile(directory / "DISK.rom", std::vector<uint8_t>(0x4000, 0xFF));
    std::vector<uint8_t> kanji(0x40000);
    for (size_t i = 0; i < kanji.size(); ++i) kanji[i] = static_cast<uint8_t>(i * 7 + i / 256);
    writeFile(directory / "KANJI.rom", kanji);
}

inline bool cbiosInstalled() { return std::filesystem::exists(kCBIOSDirectory / "cbios_main_msx2+.rom"); }

// A working directory with the system ROMs; the machine is not started.
class MachineDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cbiosInstalled()) {
            GTEST_SKIP() << "C-BIOS is not installed in " << kCBIOSDirectory;
        }
        installSystemROMs(directory_.path());
    }
    TemporaryWorkingDirectory directory_;
};

}  // namespace tavir::testing
