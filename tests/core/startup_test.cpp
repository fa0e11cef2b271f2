// The machine's start-up in a real working directory: the log byte for byte, the ROM
// failures, and a log that cannot be created.
#include <gtest/gtest.h>

#include <filesystem>

#include "frontend/host_entry.h"
#include "core/log.h"
#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

// An msx.cfg that sets nothing: every setting keeps its built-in default.
class StartUp : public MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        writeTextFile("msx.cfg", "no settings here\n");
    }
};

TEST_F(StartUp, WithoutMsxCfgSaysSoAndRunsOnTheShippedSettings) {
    std::filesystem::remove("msx.cfg");
    EXPECT_EQ(hostEntry(), 0);
    const std::string log = readTextFile(kLogFileName);
    // 228 T-states a line (3.58 MHz), the keyboard mapped: ENTER (0x1C) drives row 7 bit 7,
    // printed last on its line.
    EXPECT_EQ(log.rfind("msx.cfg not found: using the shipped settings.\nMSXSpeed = e4\n", 0), 0u)
        << log;
    EXPECT_NE(log.find(" 1c\nKeyMap8 ="), std::string::npos) << log;
}

// FM music off: its settings are logged after the video's start-up, then its failure;
// no drive and no cartridge are configured.
TEST_F(StartUp, SucceedsAndLogsTheSettings) {
    writeTextFile("opll.cfg", ".DeviceNumber = ff\n");
    EXPECT_EQ(hostEntry(), 0);
    const std::string log = readTextFile(kLogFileName);
    EXPECT_EQ(log.rfind("MSXSpeed = 0\nHInterruptOffset = 0\n", 0), 0u) << log;
    const std::string tail = "KeyMap8 =  0  0  0  0  0  0  0  0\nDeviceNumber = ff\n";
    EXPECT_NE(log.find(tail), std::string::npos) << log;
    const std::string end = "initOPLL Failed.\nNot use OPLL.\nUsePSG = 1\nWriteRoom = 2df\n"
                            "WriteSize = 5b4\nPSGVolume = 7d0\nNoisVolume = 7d0\nA drive not use.\n"
                            "B drive not use.\nNot use ROM image.\ninitMSX Succeed.\n";
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), end.size())), end);
}

TEST_F(StartUp, LogsConfiguredSettings) {
    writeTextFile("msx.cfg",
                  ".MSXSpeed = 00 e4\n.HInterruptOffset = 01 04\n.KeyMap3 = 01 02 03 04 05 06 07 1c\n");
    EXPECT_EQ(hostEntry(), 0);
    const std::string log = readTextFile(kLogFileName);
    EXPECT_EQ(log.rfind("MSXSpeed = e4\nHInterruptOffset = fffffffc\n", 0), 0u) << log;
    EXPECT_NE(log.find("KeyMap3 = 1c  7  6  5  4  3  2  1\n"), std::string::npos) << log;
}

// A missing ROM, or a folder in its place, names itself; a short one fails to load; a
// longer one is cut to its size.
TEST_F(StartUp, EachROMIsCheckedAsItLoads) {
    const struct { const char* name; int size; const char* tail; } cases[] = {
        {"MSX2P.rom", 0x4000, "MSX2P.rom Load Failed.\n"},  // the main BIOS is 32 KB
        {"MSX2PEXT.rom", -1, "MSX2PEXT.rom Open Failed.\n"}, {"DISK.rom", -1, "DISK.rom Open Failed.\n"},
        {"FMBIOS.rom", -1, "FMBIOS.rom Open Failed.\n"},     {"KANJI.rom", -1, "KANJI.rom Open Failed.\n"},
        {"DISK.rom", -2, "DISK.rom Open Failed.\n"},         {"KANJI.rom", 0x40000 + 100, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        installSystemROMs(directory_.path());
        std::filesystem::remove(c.name);
        if (c.size == -2) std::filesystem::create_directory(c.name);  // opens, but reading fails
        if (c.size >= 0) writeFile(c.name, std::vector<uint8_t>(c.size, 0x33));
        EXPECT_EQ(hostEntry(), *c.tail ? 1 : 0);
        const std::string log = readTextFile(kLogFileName);
        if (*c.tail) {
            EXPECT_EQ(log.substr(log.find("KeyMap8 =") + 34), c.tail + std::string("initMSX Failed.\n"));
        }
        std::filesystem::remove_all(c.name);
    }
}

TEST_F(StartUp, WithoutALogTheProgramEndsAtOnce) {
    std::filesystem::create_directory(kLogFileName);  // the log can't be created
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(hostEntry(), 1);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(kLogFileName), std::string::npos) << message;
}

}  // namespace
}  // namespace tavir::testing
