// The whole machine, started once per fuzzing process in a working directory of its own
// (under the system's temporary folder) that holds the C-BIOS system ROMs; the targets
// write the files they hand the machine into that directory.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/machine.h"
#include "host/headless_host.h"

namespace tavir::fuzz {

inline void writeBytes(const char* path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline void startFuzzMachine() {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tavir-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    fs::current_path(pattern);
    const fs::path cbios = "/usr/share/cbios";
    fs::copy_file(cbios / "cbios_main_msx2+.rom", "MSX2P.rom");
    fs::copy_file(cbios / "cbios_sub.rom", "MSX2PEXT.rom");
    fs::copy_file(cbios / "cbios_music.rom", "FMBIOS.rom");
    const std::string disk(0x4000, '\xFF'), kanji(0x40000, '\0');
    writeBytes("DISK.rom", reinterpret_cast<const uint8_t*>(disk.data()), disk.size());
    writeBytes("KANJI.rom", reinterpret_cast<const uint8_t*>(kanji.data()), kanji.size());
    installHeadlessHost(HeadlessClock::kManual);
    if (!initMSX()) std::abort();
}

}  // namespace tavir::fuzz
