// Cartridges as part of the machine's start-up and shutdown.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/log.h"
#include "memory/cartridge.h"
#include "memory/cartridge_test_support.h"
#include "memory/memory_map.h"
#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

class MachineCartridgesTest : public MachineDirectoryTest {
protected:
    void TearDown() override { shutdownMSX(); }

    std::string startAndReadLog() {
        EXPECT_TRUE(openLog());
        EXPECT_TRUE(initMSX());
        std::fflush(logFile);
        return readTextFile(directory_.path() / kLogFileName);
    }
};

TEST_F(MachineCartridgesTest, CartridgesSurviveAResetButNotARestart) {
    writeFile(directory_.path() / "game.rom", numberedImage(16));
    writeTextFile(directory_.path() / "cart.drc", "4game.rom\n");
    EXPECT_NE(startAndReadLog().find("Not use ROM image in Slot 2.\n"), std::string::npos);
    // The reset leaves page 1 on the main BIOS; the BIOS's slot scan would switch it.
    setPrimarySlots(0x04);
    EXPECT_EQ(readMemory(0x4000), 0);
    writeMemory(0x6000, 9);
    resetMachine(cpu);
    setPrimarySlots(0x04);
    EXPECT_EQ(readMemory(0x4000), 9);
    shutdownMSX();
    EXPECT_EQ(cartridges[0].cartType, kNoCartridge);
    EXPECT_EQ(cartridges[0].image, nullptr);

    // A new start (now with both slots) begins from banks 0-3 again.
    writeTextFile(directory_.path() / "cart.drc", "4game.rom\n4game.rom\n");
    startAndReadLog();
    setPrimarySlots(0x04);
    EXPECT_EQ(readMemory(0x4000), 0);
    shutdownMSX();

    // No list any more: both slots are empty.
    std::filesystem::remove(directory_.path() / "cart.drc");
    startAndReadLog();
    EXPECT_EQ(cartridges[0].cartType, kNoCartridge);
    EXPECT_EQ(cartridges[1].cartType, kNoCartridge);
    for (int slot = 1; slot <= 2; ++slot)
        for (uint8_t* page : memoryMap.slotMap[slot][0]) EXPECT_EQ(page, memoryMap.emptyRAM);
}

}  // namespace
}  // namespace tavir::testing
