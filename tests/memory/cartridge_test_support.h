// A bare memory map (no system ROMs) with cartridges loaded from image files in a
// temporary working directory. Every 8 KB page of a generated image is filled with its
// own page number, so a read shows which bank the CPU sees.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "memory/cartridge.h"
#include "memory/memory_map.h"
#include "support/machine_fixture.h"

namespace tavir::testing {

constexpr uint8_t kEmptyFill = 0xEE;  // what EmptyRAM reads in these tests; no bank number

// Slot-select values for port 0xA8.
constexpr uint8_t kAllPagesSlot1 = 0x55;
constexpr uint8_t kAllPagesSlot2 = 0xAA;

inline std::vector<uint8_t> numberedImage(int pages) {
    std::vector<uint8_t> image(static_cast<size_t>(pages) * 0x2000);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i / 0x2000);
    return image;
}

class CartridgeMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        releaseCartridges();
        initMemoryMap(emptyRAM_.data());
        attachRAM(ram_.data());
        resetMemoryMap();
    }
    void TearDown() override { releaseCartridges(); }

    // Writes `image` as `name` and loads it into `cartridge` with mapper `type`.
    void load(const std::string& name, const std::vector<uint8_t>& image, int cartridge,
              uint8_t type) {
        writeFile(directory_.path() / name, image);
        ASSERT_TRUE(loadCartridge(name.c_str(), cartridge)) << name;
        cartridges[cartridge].cartType = type;
    }

    // The byte the CPU reads at both ends of the 8 KB page holding `address`, which for a
    // numbered image is the bank number; kEmptyFill where EmptyRAM shows.
    static uint8_t pageAt(uint16_t address) {
        const uint16_t start = address & 0xE000;
        const uint8_t first = readMemory(start);
        EXPECT_EQ(first, readMemory(static_cast<uint16_t>(start + 0x1FFF))) << std::hex << start;
        return first;
    }

    // What the CPU sees on each of the eight 8 KB pages.
    static std::vector<uint8_t> cpuPages() {
        std::vector<uint8_t> pages;
        for (int page = 0; page < 8; ++page)
            pages.push_back(pageAt(static_cast<uint16_t>(page * 0x2000)));
        return pages;
    }

    // The four cartridge windows 0x4000-0xBFFF as the CPU sees them.
    static std::vector<uint8_t> windows() {
        return {pageAt(0x4000), pageAt(0x6000), pageAt(0x8000), pageAt(0xA000)};
    }

    static bool slotIsEmpty(int slot) {
        for (uint8_t* page : memoryMap.slotMap[slot][0])
            if (page != memoryMap.emptyRAM) return false;
        return true;
    }

    TemporaryWorkingDirectory directory_;
    std::vector<uint8_t> emptyRAM_ = std::vector<uint8_t>(kEmptyRAMSize, kEmptyFill);
    std::vector<uint8_t> ram_ = std::vector<uint8_t>(kRAMSize, 0x00);
};

}  // namespace tavir::testing
