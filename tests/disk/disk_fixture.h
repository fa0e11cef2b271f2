// Disk tests work on real files: images and set files in a temporary working directory,
// with the log open there, and the Z80's flat 64 KB RAM for the services to transfer to.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cpu/z80_fixture.h"
#include "disk/disk_services.h"
#include "disk/drive_state.h"
#include "core/log.h"
#include "support/machine_fixture.h"

namespace tavir::testing {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t k720KSectors = 1440;

// Sector n of a patterned image: every sector and every byte in it tell themselves apart.
inline Bytes patternSector(uint32_t sector) {
    Bytes bytes(512);
    for (int i = 0; i < 512; ++i) bytes[i] = static_cast<uint8_t>(sector * 37 + i * 7 + (i >> 8));
    return bytes;
}

inline void writePatternImage(const std::filesystem::path& path, uint32_t sectors) {
    std::ofstream out(path, std::ios::binary);
    for (uint32_t n = 0; n < sectors; ++n) {
        const Bytes sector = patternSector(n);
        out.write(reinterpret_cast<const char*>(sector.data()), 512);
    }
}

// Reads a sector straight from the file on disk, as another program would see it.
inline Bytes readImageSector(const std::filesystem::path& path, uint32_t sector) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(sector) * 512);
    Bytes bytes(512);
    in.read(reinterpret_cast<char*>(bytes.data()), 512);
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

class DiskTest : public Z80Test {
protected:
    void SetUp() override {
        Z80Test::SetUp();
        ASSERT_TRUE(openLog());
    }
    void TearDown() override {
        closeDrives();
        closeLog();
    }

    // Writes the set files given (null: that drive has none) and runs the drives' start-up.
    void mountSets(const char* setA, const char* setB = nullptr) {
        if (setA != nullptr) writeTextFile("adrive.dfd", setA);
        if (setB != nullptr) writeTextFile("bdrive.dfd", setB);
        initDrives();
    }

    std::string logText() {
        std::fflush(logFile);
        return readTextFile(kLogFileName);
    }

    // Enters the service whose trap sits at `entry`, as the Z80 does on ED FE there.
    void callService(uint16_t entry) {
        cpu.pc = static_cast<uint16_t>(entry + 2);
        diskService(cpu);
    }

    Bytes memory(uint16_t address, size_t size) const {
        return Bytes(ram_.get() + address, ram_.get() + address + size);
    }

    TemporaryWorkingDirectory directory_;
};

// Root may write to any file; a read-only image needs an ordinary user. Switches the
// effective user to "nobody" for its lifetime when running as root.
class UnprivilegedScope {
public:
    UnprivilegedScope() {
        if (geteuid() == 0) switched_ = seteuid(kNobody) == 0;
    }
    ~UnprivilegedScope() {
        if (switched_ && seteuid(0) != 0) std::abort();
    }
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

    // False when the files' permissions can't be made to count.
    bool effective() const { return geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool switched_ = false;
};

}  // namespace tavir::testing
