// Snapshots on a real game: a reloaded run goes on exactly as the original, a recording
// replays without the keys, older versions load, and damaged files are refused without
// touching the machine.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "frontend/emulation_thread.h"
#include "core/emulation_control.h"
#include "core/frame_end.h"
#include "core/run_loop.h"
#include "frontend/command_routine.h"
#include "core/input_recording.h"
#include "core/log.h"
#include "core/screen_message.h"
#include "frontend/snapshot.h"
#include "memory/cartridge.h"
#include "memory/clock_chip.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"
#include "support/headless_machine.h"
#include "video/display_output.h"
#include "video/vdp_registers.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kRoms = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms";
constexpr size_t kVersion3Size = 197112;
constexpr size_t kCartridgeBlock = 31;  // follows the fixed layout in files saved here

std::tm fixedTime() { return std::tm{}; }

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// RAM, VRAM and the picture: everything the game has made of its run; then what the CPU
// sees at 0x4000-0xBFFF, which shows a mapped cartridge's banks.
Bytes machineOutcome() {
    constexpr size_t kRowBytes = kSmallWidth * 2;
    Bytes bytes(kRAMSize + kVRAMSize + kRowBytes * kSmallHeight);
    std::memcpy(bytes.data(), memoryMap.ram, kRAMSize);
    std::memcpy(bytes.data() + kRAMSize, vdp.vram, kVRAMSize);
    for (int row = 0; row < kSmallHeight; ++row)
        std::memcpy(&bytes[kRAMSize + kVRAMSize + row * kRowBytes], frameBufferRow(row), kRowBytes);
    for (uint32_t address = 0x4000; address < 0xC000; ++address)
        bytes.push_back(readMemory(static_cast<uint16_t>(address)));
    return bytes;
}

// Transball from cart.drc with the clock chip at a fixed time. Space cuts its intro short
// and the cursor keys move through the title menu.
class SnapshotGameTest : public testing::HeadlessMachineTest {
protected:
    void SetUp() override {
        startCartridge("transball-en.rom", '0');
        addScriptedKey(180, 0x39, 5);  // space
        addScriptedKey(260, 0xD0, 5);  // down
        addScriptedKey(300, 0xC8, 5);  // up
    }
    void startCartridge(const char* rom, char mapper) {
        if (!fs::exists(kRoms / rom)) GTEST_SKIP() << "no acceptance cartridge " << rom;
        fs::copy_file(kRoms / rom, rom);
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", "msx.cfg");
        testing::writeTextFile("cart.drc", std::string(1, mapper) + rom + "\n");
        ASSERT_TRUE(openLog());
        HeadlessMachineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(initDisplay());
        setClockTimeSource(fixedTime);
    }
    void TearDown() override {
        stopInputRecording();
        setClockTimeSource(nullptr);
        HeadlessMachineTest::TearDown();
    }

    // Frames as the emulation thread runs them after a command: the run loop entered
    // afresh, the frame count (and with it the key script) going on from `firstFrame`.
    static void runFrames(uint32_t firstFrame, uint32_t frames) {
        frameEndState.framesRun = firstFrame - 1;
        headlessHost.currentFrame = firstFrame;
        enterRunLoop();
        runScanLines(cpu, uint64_t{frames} * 256);
    }

    static std::string log() {
        std::fflush(logFile);
        return testing::readTextFile(kLogFileName);
    }
};

TEST_F(SnapshotGameTest, OlderVersionsLoad) {
    runFrames(1, 60);
    vdp.trueColour0 = 0xBEEF;
    ASSERT_TRUE(saveSnapshot(40, false));
    Bytes file = readFile("TAVIR40.sav");
    ASSERT_EQ(file.size(), kVersion3Size + kCartridgeBlock);

    // Versions 1 and 2 hold the tone periods and phases as integers; version 1 also lacks
    // the last six bytes and takes colour 0's own colour from palette entry 0.
    const uint32_t integers[6] = {100, 100, 100, 1, 1, 1};
    std::memcpy(&file[241], integers, sizeof integers);
    file[276 + 7] = 0x04;  // backdrop colour 4 with TP clear: colour 0 draws as entry 4
    file[276 + 8] = 0x00;
    const auto word = [&](size_t at) { return static_cast<uint16_t>(file[at] | file[at + 1] << 8); };
    for (uint8_t version : {1, 2}) {
        SCOPED_TRACE(int(version));
        Bytes old = file;
        old[0] = version;
        if (version == 1) old.resize(197106);
        testing::writeFile("TAVIR02.sav", old);
        vdp.trueColour0 = 0;
        ASSERT_TRUE(loadSnapshot(2, false)) << log();
        EXPECT_EQ(vdp.trueColour0, word(version == 1 ? 357 : 197106));
        EXPECT_EQ(vdp.drawPalette[0], word(version == 1 ? 357 + 2 * 4 : 357));
        EXPECT_EQ(std::memcmp(vdp.vram, &file[66032], kVRAMSize), 0);
    }
}

// A 4 x 4 byte CPU-to-VRAM transfer in Graphic 4 from (10, 20), byte k = k + 1, saved after
// five bytes and loaded into a reset machine: the rest lands in the rectangle.
TEST_F(SnapshotGameTest, HalfDoneTransferGoesOnAfterALoad) {
    const std::pair<uint8_t, uint8_t> start[] = {{0, 0x06}, {1, 0x40}, {36, 10}, {37, 0}, {38, 20},
        {39, 0}, {40, 8}, {41, 0}, {42, 4}, {43, 0}, {44, 1}, {45, 0}, {46, 0xF0}};
    for (auto [r, value] : start) writeVDPRegister(r, value);
    const auto feed = [](int from, int to) {
        for (int k = from; k < to; ++k) writeVDPRegister(44, static_cast<uint8_t>(k + 1));
    };
    feed(1, 5);
    vdp.vramAddress = 0x1234;  // the CPU's own VRAM address goes on too
    ASSERT_TRUE(saveSnapshot(6, false));
    resetMachine(cpu);
    ASSERT_TRUE(loadSnapshot(6, false));
    EXPECT_EQ(vdp.vramAddress, 0x1234);
    feed(5, 16);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(vdp.vram[20 * 128 + 5 + k % 4 + k / 4 * 128], k + 1);
}

TEST_F(SnapshotGameTest, RAMUnderTheSecondarySlotRegisterIsSavedAsRAMAndFFFFReadsTheRegister) {
    outPort(0xA8, 0xFF);
    writeMemory(0xFFFF, 0xAA);
    outPort(0xFE, 0);  // page 2 on page 3's segment 0 (after reset), and off it again
    writeMemory(0xBFFF, 0x5A);
    outPort(0xFE, 1);
    ASSERT_TRUE(saveSnapshot(9, false) && loadSnapshot(9, false));
    EXPECT_EQ(readFile("TAVIR09.sav").at(496 + 0x3FFF), 0x5A);
    EXPECT_EQ(readMemory(0xFFFF), 0x55);
}

// Each damaged file is refused with a log line, and the machine then saves exactly what
// it saved before; a missing file is passed over without a word.
TEST_F(SnapshotGameTest, DamagedFilesAreRefusedWithoutChangingTheMachine) {
    runFrames(1, 60);
    ASSERT_TRUE(saveSnapshot(1, false));
    const Bytes good = readFile("TAVIR01.sav");
    resetMachine(cpu);
    runFrames(1, 20);
    ASSERT_TRUE(saveSnapshot(39, false));
    const Bytes before = readFile("TAVIR39.sav");
    EXPECT_FALSE(loadSnapshot(7, false));
    EXPECT_EQ(log().find("TAVIR07"), std::string::npos);

    // What, where, the bytes put there, and the length the file is cut to (0: kept whole).
    const struct { const char* what; size_t offset; Bytes bytes; size_t length; } damages[] = {
        {"cut short", 0, {}, kVersion3Size - 1}, {"version 1 cut short", 0, {1}, 197105},
        {"only a version byte", 0, {}, 1},       {"version 4", 0, {4}, 0},
        {"version 0", 0, {0}, 0},                {"mapper segment 4", 3, {4}, 0},
        {"primary slot 4", 9, {4}, 0},           {"secondary slot 7", 16, {7}, 0},
        {"MSXSpeed -1", 19 + 0x1C, {0xFF, 0xFF, 0xFF, 0xFF}, 0},
        {"line countdown -2^31", 19 + 0x20, {0, 0, 0, 0x80}, 0},
        {"pending vector 0x1234", 19 + 0x28, {0x34, 0x12}, 0},
        {"clock index 16", 89, {16}, 0},         {"Kanji counter 32", 147, {32}, 0},
        {"psgIndex 16", 213, {16}, 0},           {"envelope length 157", 230, {157}, 0},
        {"tone period NaN", 245, {0, 0, 0xC0, 0x7F}, 0},
        {"tone phase infinite", 253, {0, 0, 0x80, 0x7F}, 0},
        {"noiseRun 1000", 265, {0xE8, 0x03, 0, 0}, 0},
        {"R#14 8", 276 + 14, {8}, 0},            {"R#15 16", 276 + 15, {16}, 0},
        {"vramAddress 0x4000", 453, {0x00, 0x40}, 0},
        {"screen mode 9", 455, {9}, 0},          {"command row base 0x20000", 456, {0, 0, 2}, 0},
        {"command x step 2", 456 + 32, {2}, 0},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes file = good;
        std::copy(damage.bytes.begin(), damage.bytes.end(), file.begin() + damage.offset);
        if (damage.length != 0) file.resize(damage.length);
        testing::writeFile("TAVIR02.sav", file);
        EXPECT_FALSE(loadSnapshot(2, false));
        EXPECT_NE(log().find("TAVIR02.sav not loaded: "), std::string::npos);
        ASSERT_TRUE(saveSnapshot(39, false));
        EXPECT_TRUE(readFile("TAVIR39.sav") == before);
    }
}

// The save key and M save slot 37; with the modifier, 5 records into slot 5 and the load
// key replays it, each named on the screen. A save that can't be written keeps the slot's
// file and says so, as does the load of an empty slot.
TEST_F(SnapshotGameTest, SaveAndLoadKeysAndAFailedSave) {
    runFrames(1, 10);
    const std::tuple<uint8_t, bool, uint8_t, const char*, RecordingMode, const char*> steps[] = {
        {kCommandSaveState, false, 0x32, "TAVIR37.sav", kRecordingOff,
         "Snapshot saved: slot 37 (TAVIR37.sav)"},
        {kCommandSaveState, true, 0x06, "TAVIR05.smv", kRecording,
         "Snapshot saved: slot 5 (TAVIR05.smv), recording input"},
        {kCommandLoadState, true, 0x06, "TAVIR05.smv", kPlayingBack,
         "Snapshot loaded: slot 5 (TAVIR05.smv), playing back its input"}};
    char shown[kScreenMessageLength];
    for (auto [code, modifier, key, file, mode, message] : steps) {
        commandCode.store(code);
        commandModifier = modifier;
        setHeadlessKey(key, true);
        commandRoutine();
        EXPECT_TRUE(fs::exists(file)) << file;
        EXPECT_EQ(recordingMode, mode) << file;
        latestScreenMessage(shown);
        EXPECT_STREQ(shown, message);
    }
    commandModifier = false;

    const Bytes previous = readFile("TAVIR37.sav");
    runFrames(11, 10);
    fs::create_directory("TAVIR37.sav.tmp");  // where the new file would be written
    EXPECT_FALSE(saveSnapshot(37, false));
    EXPECT_TRUE(readFile("TAVIR37.sav") == previous);
    EXPECT_NE(log().find("TAVIR37.sav not saved: "), std::string::npos);
    latestScreenMessage(shown);
    EXPECT_STREQ(shown, "Snapshot not saved: slot 37 (TAVIR37.sav): Is a directory");
    EXPECT_FALSE(loadSnapshot(9, false));
    latestScreenMessage(shown);
    EXPECT_STREQ(shown, "Snapshot not loaded: slot 9 (TAVIR09.sav): No such file or directory");
}

// The Konami segment viewer switches segment 7 into 0x8000 as it starts; the down key
// after the save has it show segments 8-15, each switched in and read.
class SnapshotBanksTest : public SnapshotGameTest {
protected:
    void SetUp() override {
        startCartridge("msxgl_s_target_KONAMI_128K.rom", '3');
        addScriptedKey(230, 0xD0, 5);  // down
    }
    static Bytes banks() { return {cartridges[0].bankRegister, cartridges[0].bankRegister + 4}; }
    static constexpr uint8_t kElsewhere[4] = {8, 9, 10, 11};
};

// The run after a snapshot, that run again from the loaded snapshot and once more from a
// recording made alongside, replayed without the keys, all end alike, loaded into a
// machine showing other banks. Without a block, or with one of another image
// (a word in the log), the banks stay; a bank past the 16 of 128 KB refuses the file.
TEST_F(SnapshotBanksTest, LoadsAndReplaysShowTheSavedBanksOfTheSameCartridgeOnly) {
    runFrames(1, 200);
    ASSERT_NE(banks(), (Bytes{0, 1, 2, 3})) << "the viewer switched nothing";
    ASSERT_TRUE(saveSnapshot(1, false));
    ASSERT_TRUE(saveSnapshot(5, true));
    const Bytes atSave = machineOutcome();
    runFrames(201, 100);
    const Bytes original = machineOutcome();
    ASSERT_FALSE(original == atSave) << "the frames after the save changed nothing";
    stopInputRecording();
    // The viewer never reads the clock: each frame adds 11 keyboard rows and 2 joystick bytes.
    EXPECT_EQ(fs::file_size("TAVIR05.smv"), kVersion3Size + kCartridgeBlock + 13 * 100);
    for (bool replay : {false, true}) {
        if (replay) headlessHost.script.clear();
        resetMachine(cpu);
        showCartridgeBanks(0, kElsewhere);
        ASSERT_TRUE(loadSnapshot(replay ? 5 : 1, replay));
        runFrames(201, 100);
        EXPECT_TRUE(machineOutcome() == original) << "replay " << replay << " went another way";
    }
    EXPECT_EQ(recordingMode, kPlayingBack);
    runFrames(301, 1);  // records used up: live input
    EXPECT_EQ(recordingMode, kRecordingOff);

    const Bytes good = readFile("TAVIR01.sav");
    const std::tuple<size_t, uint8_t, bool, bool> cases[] = {  // offset, byte, loads, logs
        {kVersion3Size, 0, true, false},  // cut off there
        {kVersion3Size + 12, uint8_t(good[kVersion3Size + 12] ^ 1), true, true},  // hash
        {kVersion3Size + 18, 16, false, true}};  // bank at 0x8000
    for (auto [offset, value, loads, logs] : cases) {
        SCOPED_TRACE(offset);
        Bytes file = good;
        file[offset] = value;
        if (offset == kVersion3Size) file.resize(kVersion3Size);
        testing::writeFile("TAVIR02.sav", file);
        showCartridgeBanks(0, kElsewhere);
        const size_t logLength = log().size();
        EXPECT_EQ(loadSnapshot(2, false), loads);
        EXPECT_EQ(banks(), (Bytes{8, 9, 10, 11}));
        EXPECT_EQ(log().size() > logLength, logs);
    }
}

}  // namespace
}  // namespace tavir
