// The third-party cartridges of the acceptance folder, loaded by a real start-up from a
// real cart.drc: header and bank switching with the writes each program is documented to
// make.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/machine.h"
#include "frontend/log.h"
#include "memory/cartridge.h"
#include "memory/memory_map.h"
#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

const std::filesystem::path kROMDirectory =
    std::filesystem::path(TAVIR_SHARED_DIR) / "acceptance" / "roms";

struct AcceptanceROM {
    const char* name;
    uint8_t type;  // the cart.drc digit the folder's README gives
    // The write that puts segment n at 0x8000, and the segment size in bytes.
    uint16_t segmentAt8000Address;
    int segmentSize;
};

// The README's writes: Konami SCC 0x9000, Konami 0x8000, ASCII8 0x7000, ASCII16 0x77FF.
const AcceptanceROM kROMs[] = {
    {"transball-en.rom", 0, 0, 0},
    {"msxgl_s_sm1.rom", 0, 0, 0},
    {"msxgl_s_vdpcmd.rom", 0, 0, 0},
    {"suitemsx_240p.rom", 2, 0x9000, 0x2000},
    {"msxgl_s_mapper.rom", 4, 0x7000, 0x2000},
    {"msxgl_s_target_ASCII8_128K.rom", 4, 0x7000, 0x2000},
    {"msxgl_s_target_ASCII16_128K.rom", 5, 0x77FF, 0x4000},
    {"msxgl_s_target_KONAMI_128K.rom", 3, 0x8000, 0x2000},
    {"msxgl_s_target_KONAMI_SCC_128K.rom", 2, 0x9000, 0x2000},
};

std::vector<uint8_t> readBinaryFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::string cpuBytes(uint16_t address, size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(readMemory(static_cast<uint16_t>(address + i)));
    return bytes;
}

bool pageShowsFile(int page, const std::vector<uint8_t>& file, size_t offset) {
    for (uint32_t i = 0; i < 0x2000; ++i) {
        if (readMemory(static_cast<uint16_t>(page * 0x2000 + i)) != file[offset + i]) return false;
    }
    return true;
}

// The same image in both slots, from a cart.drc naming it twice.
class CartridgeAcceptanceTest : public MachineDirectoryTest {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kROMDirectory))
            GTEST_SKIP() << "no acceptance cartridges in " << kROMDirectory;
        MachineDirectoryTest::SetUp();
    }
    void TearDown() override { shutdownMSX(); }

    // Starts the machine with `rom` in slots 1 and 2; returns the image file's bytes.
    std::vector<uint8_t> start(const AcceptanceROM& rom) {
        std::filesystem::copy_file(kROMDirectory / rom.name, directory_.path() / rom.name);
        const std::string line = std::to_string(rom.type) + rom.name + "\n";
        writeTextFile(directory_.path() / "cart.drc", line + line);
        EXPECT_TRUE(openLog());
        EXPECT_TRUE(initMSX());
        std::fflush(logFile);
        const std::string log = readTextFile(directory_.path() / kLogFileName);
        EXPECT_EQ(log.find("ROM image"), std::string::npos) << log;
        EXPECT_EQ(log.find("bad file name"), std::string::npos) << log;
        return readBinaryFile(kROMDirectory / rom.name);
    }
};

TEST_F(CartridgeAcceptanceTest, EveryImageShowsItsHeaderAndSegmentsInBothSlots) {
    for (const AcceptanceROM& rom : kROMs) {
        SCOPED_TRACE(rom.name);
        const std::vector<uint8_t> file = start(rom);
        for (int slot = 1; slot <= 2; ++slot) {
            SCOPED_TRACE(slot);
            EXPECT_EQ(cartridges[slot - 1].cartType, rom.type);
            // What the BIOS cartridge scan looks at: page 1 in the slot.
            setPrimarySlots(static_cast<uint8_t>(slot << 2));
            EXPECT_EQ(cpuBytes(0x4000, 2), "AB");
        }
        // Every image starts with its bytes 0x4000-0x5FFF at 0x8000; mapper images then show
        // every segment there through the documented write.
        setPrimarySlots(0x55);
        EXPECT_TRUE(pageShowsFile(4, file, 0x4000));
        const int segments =
            rom.segmentSize == 0 ? 0 : static_cast<int>(file.size()) / rom.segmentSize;
        for (int segment = segments - 1; segment >= 0; --segment) {
            writeMemory(rom.segmentAt8000Address, static_cast<uint8_t>(segment));
            EXPECT_TRUE(pageShowsFile(4, file, static_cast<size_t>(segment) * rom.segmentSize))
                << "segment " << segment;
            EXPECT_EQ(cpuBytes(0x4000, 2), "AB");  // the code's own window stays put
        }
        shutdownMSX();
    }
}

}  // namespace
}  // namespace tavir::testing
