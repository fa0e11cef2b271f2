// The machine's start-up in a real working directory: the log byte for byte, the ROM
// failures, the trap patches, and the state after reset.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/machine.h"
#include "frontend/host_entry.h"
#include "core/log.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"
#include "support/machine_fixture.h"
#include "video/vdp_state.h"

namespace tavir::testing {
namespace {

const std::string kDefaultSettingsLog =
    "MSXSpeed = 0\n"
    "HInterruptOffset = 0\n"
    "DisplayMode = 0\n"
    "CheckSprite = 0\n"
    "Joypad1 = ff\n"
    "Joypad2 = ff\n"
    "UseNumpad = 0\n"
    "CommandKey = 58 40 41 43 44 42 57 db dc 36\n"
    "KeyMap0 =  0  0  0  0  0  0  0  0\n"
    "KeyMap1 =  0  0  0  0  0  0  0  0\n"
    "KeyMap2 =  0  0  0  0  0  0  0  0\n"
    "KeyMap3 =  0  0  0  0  0  0  0  0\n"
    "KeyMap4 =  0  0  0  0  0  0  0  0\n"
    "KeyMap5 =  0  0  0  0  0  0  0  0\n"
    "KeyMap6 =  0  0  0  0  0  0  0  0\n"
    "KeyMap7 =  0  0  0  0  0  0  0  0\n"
    "KeyMap8 =  0  0  0  0  0  0  0  0\n";

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

TEST_F(StartUp, SucceedsAndLogsTheSettings) {
    // FM music off: its settings are logged after the video's start-up, then its failure.
    writeTextFile("opll.cfg", ".DeviceNumber = ff\n");
    const std::string sixteen = "  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0  0";
    EXPECT_EQ(hostEntry(), 0);
    EXPECT_EQ(readTextFile(kLogFileName), kDefaultSettingsLog +
                                              "DeviceNumber = ff\nBankSelect = 0\n"
                                              "PNoteNumber =  0  0  0  0  0\n"
                                              "PVolume =  0  0  0  0  0\n"
                                              "BankMSB =" + sixteen + "\nBankLSB =" + sixteen +
                                              "\nNoteOFS =" + sixteen + "\nProgramNumber =" +
                                              sixteen + "\nTVolume =" + sixteen + "\n"
                                              "initOPLL Failed.\nNot use OPLL.\n"
                                              "UsePSG = 1\nWriteRoom = 2df\nWriteSize = 5b4\n"
                                              "PSGVolume = 7d0\nNoisVolume = 7d0\n"
                                              "A drive not use.\nB drive not use.\n"
                                              "Not use ROM image.\n"
                                              "initMSX Succeed.\n");
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
        if (*c.tail) {
            EXPECT_EQ(readTextFile(kLogFileName), kDefaultSettingsLog + c.tail + "initMSX Failed.\n");
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

class StartedMachine : public MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(openLog());
        ASSERT_TRUE(initMSX());
    }
    void TearDown() override { shutdownMSX(); }

    // Shows slot 3-1 (sub-ROM and disk ROM) in pages 0 and 1.
    void showSlot31() {
        outPort(0xA8, 0xFF);
        writeMemory(0xFFFF, 0x05);
    }
};

TEST_F(StartedMachine, TrapsArePatchedIntoTheBIOSEntries) {
    for (uint16_t entry : kMainBIOSPatches) {
        EXPECT_EQ(readMemory(entry), 0xED) << entry;
        EXPECT_EQ(readMemory(entry + 1), 0xFE) << entry;
        EXPECT_EQ(readMemory(entry + 2), 0xC9) << entry;
    }
    showSlot31();
    for (uint16_t entry : kDiskROMPatches) {
        EXPECT_EQ(readMemory(entry), 0xED) << entry;
        EXPECT_EQ(readMemory(entry + 1), 0xFE) << entry;
        EXPECT_EQ(readMemory(entry + 2), 0xC9) << entry;
    }
    EXPECT_EQ(readMemory(0x4019), 0xFF) << "0x4019 keeps the file's byte";
}

TEST_F(StartedMachine, ResetState) {
    EXPECT_EQ(cpu.pc, 0);
    EXPECT_EQ(cpu.sp, 0xF000);
    EXPECT_FALSE(cpu.stateFlags & kIFF1);
    EXPECT_EQ(vdp.vdpStatus[0], 0x9F);
    EXPECT_EQ(vdp.vdpStatus[1], 0x04);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C);
    EXPECT_EQ(vdp.vdpRegister[1], 0x10);
    EXPECT_EQ(vdp.screenMode, 1);
    for (uint8_t row : portDevices.keyboardMatrix) EXPECT_EQ(row, 0xFF);
}

TEST_F(StartedMachine, ASecondResetKeepsRAMAndTheRCounter) {
    outPort(0xA8, 0xFF);
    writeMemory(0xFFFF, 0xAA);
    writeMemory(0x9000, 0x42);
    cpu.rCounter = 99;
    cpu.pc = 0x1234;
    resetMachine(cpu);
    EXPECT_EQ(cpu.pc, 0);
    EXPECT_EQ(cpu.rCounter, 99);
    EXPECT_EQ(readMemory(0x0000), static_cast<uint8_t>(readTextFile("MSX2P.rom")[0]));
    outPort(0xA8, 0xFF);
    writeMemory(0xFFFF, 0xAA);
    EXPECT_EQ(readMemory(0x9000), 0x42);
}

TEST_F(StartedMachine, FrameScheduleHoldsTheDeadlinesOf60FramesPerSecond) {
    EXPECT_EQ(frameSchedule[0], 16);
    EXPECT_EQ(frameSchedule[1], 33);
    EXPECT_EQ(frameSchedule[59], 1000);
    EXPECT_EQ(frameSchedule[60], 1016);
    EXPECT_EQ(frameSchedule[119], 2000);
}

}  // namespace
}  // namespace tavir::testing
