// Snapshots on a real game: a saved and reloaded run goes on exactly as the original one,
// a recording replays without the keys, the file has the layout's size and offsets,
// older versions load, and damaged files are refused without touching the machine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "core/frame_end.h"
#include "core/run_loop.h"
#include "core/emulation_control.h"
#include "core/emulation_thread.h"
#include "frontend/command_routine.h"
#include "frontend/input_recording.h"
#include "frontend/joystick_state.h"
#include "frontend/log.h"
#include "frontend/snapshot.h"
#include "memory/clock_chip.h"
#include "memory/memory_map.h"
#include "sound/psg.h"
#include "support/headless_machine.h"
#include "video/display_output.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

const fs::path kGame = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms" / "transball-en.rom";
constexpr size_t kVersion3Size = 197112;
constexpr uint32_t kFramesBeforeSave = 200, kFramesAfterSave = 150;

std::tm fixedTime() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mday = 1;
    return time;
}

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The picture, VRAM and RAM: everything the game has made of its run.
std::vector<uint8_t> machineOutcome() {
    constexpr size_t kRowBytes = kSmallWidth * 2;
    std::vector<uint8_t> bytes(kRAMSize + kVRAMSize + kRowBytes * kSmallHeight);
    std::memcpy(bytes.data(), memoryMap.ram, kRAMSize);
    std::memcpy(bytes.data() + kRAMSize, vdp.vram, kVRAMSize);
    for (int row = 0; row < kSmallHeight; ++row)
        std::memcpy(bytes.data() + kRAMSize + kVRAMSize + row * kRowBytes, frameBufferRow(row),
                    kRowBytes);
    return bytes;
}

// Transball from cart.drc, on the headless host with the clock chip at a fixed time. The
// title waits for space; the arrows then steer the ship.
class SnapshotGameTest : public testing::HeadlessMachineTest {
protected:
    void SetUp() override {
        if (!fs::exists(kGame)) GTEST_SKIP() << "no acceptance cartridge " << kGame;
        fs::copy_file(kGame, "transball-en.rom");
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", "msx.cfg");
        testing::writeTextFile("cart.drc", "0transball-en.rom\n");
        ASSERT_TRUE(openLog());
        HeadlessMachineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(initDisplay());
        setClockTimeSource(fixedTime);
        for (auto [first, code, frames] : {std::tuple{150u, 0x39, 5u}, {230u, 0xCD, 70u},
                                          {280u, 0xC8, 40u}, {320u, 0xCB, 25u}})
            addScriptedKey(first, static_cast<uint8_t>(code), frames);
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

TEST_F(SnapshotGameTest, ReloadedRunEndsInTheSameStateAsTheOriginal) {
    runFrames(1, kFramesBeforeSave);
    ASSERT_TRUE(saveSnapshot(1, false));
    EXPECT_EQ(fs::file_size("TAVIR01.sav"), kVersion3Size);
    const std::vector<uint8_t> atSave = machineOutcome();

    runFrames(kFramesBeforeSave + 1, kFramesAfterSave);
    const std::vector<uint8_t> original = machineOutcome();
    ASSERT_NE(original, atSave) << "the frames after the save changed nothing";

    // Somewhere else entirely, then back.
    resetMachine(cpu);
    runFrames(1, 30);
    ASSERT_TRUE(loadSnapshot(1, false));
    runFrames(kFramesBeforeSave + 1, kFramesAfterSave);
    const std::vector<uint8_t> reloaded = machineOutcome();
    EXPECT_EQ(reloaded.size(), size_t{kRAMSize + kVRAMSize + kSmallWidth * kSmallHeight * 2});
    EXPECT_TRUE(reloaded == original) << "the reloaded run went another way";
}

TEST_F(SnapshotGameTest, RecordingReplaysWithoutTheKeys) {
    runFrames(1, kFramesBeforeSave);
    ASSERT_TRUE(saveSnapshot(5, true));
    EXPECT_EQ(recordingMode, kRecording);
    runFrames(kFramesBeforeSave + 1, kFramesAfterSave);
    const std::vector<uint8_t> original = machineOutcome();
    stopInputRecording();
    // The game never reads the clock: each frame adds 11 keyboard rows and 2 joystick bytes.
    EXPECT_EQ(fs::file_size("TAVIR05.smv"), kVersion3Size + 13 * kFramesAfterSave);

    headlessHost.script.clear();
    resetMachine(cpu);
    ASSERT_TRUE(loadSnapshot(5, true));
    EXPECT_EQ(recordingMode, kPlayingBack);
    runFrames(kFramesBeforeSave + 1, kFramesAfterSave);
    EXPECT_TRUE(machineOutcome() == original) << "the replay went another way";
    // The records are used up at the next frame end: live input goes on.
    runFrames(kFramesBeforeSave + kFramesAfterSave + 1, 1);
    EXPECT_EQ(recordingMode, kRecordingOff);
}

// Distinct values put where the layout table says they go.
TEST_F(SnapshotGameTest, FileHoldsEachFieldAtItsOffset) {
    runFrames(1, 60);
    cpu.pc = 0x4321;
    psg.psgIndex = 0x0B;
    vdp.vramAddress = 0x1234;
    joystickState[0] = 0x2A;
    joystickState[1] = 0x15;
    vdp.trueColour0 = 0xBEEF;
    memoryMap.ram[0x3456] = 0x77;  // segment 0 comes first
    vdp.vram[0x1ABCD] = 0x99;
    ASSERT_TRUE(saveSnapshot(40, false));
    const std::vector<uint8_t> file = readFile("TAVIR40.sav");
    ASSERT_EQ(file.size(), kVersion3Size);
    const std::pair<size_t, uint8_t> expected[] = {
        {0, 3},          {19 + 0x0C, 0x21}, {19 + 0x0D, 0x43}, {213, 0x0B},
        {453, 0x34},     {454, 0x12},       {197104, 0x2A},    {197105, 0x15},
        {197106, 0xEF},  {197107, 0xBE},    {496 + 0x3456, 0x77}, {66032 + 0x1ABCD, 0x99},
        {17, memoryMap.primarySlotRegister}, {455, vdp.screenMode}};
    for (auto [offset, value] : expected) EXPECT_EQ(file[offset], value) << "offset " << offset;
}

// Versions 1 and 2 hold the tone periods and phases as integers; version 1 also lacks
// the last six bytes and takes colour 0's own colour from palette entry 0.
TEST_F(SnapshotGameTest, OlderVersionsLoad) {
    runFrames(1, 60);
    ASSERT_TRUE(saveSnapshot(1, false));
    std::vector<uint8_t> file = readFile("TAVIR01.sav");
    const uint32_t integers[6] = {100, 100, 100, 1, 1, 1};
    std::memcpy(&file[241], integers, sizeof integers);
    // Backdrop colour 4 with TP clear: colour 0 draws in entry 4's colour.
    file[276 + 7] = 0x04;
    file[276 + 8] = 0x00;
    for (uint8_t version : {1, 2}) {
        SCOPED_TRACE(int(version));
        std::vector<uint8_t> old = file;
        old[0] = version;
        if (version == 1) old.resize(197106);
        testing::writeFile("TAVIR02.sav", old);
        vdp.trueColour0 = 0;
        ASSERT_TRUE(loadSnapshot(2, false)) << log();
        const uint16_t entry0 = static_cast<uint16_t>(file[357] | file[358] << 8);
        const uint16_t entry4 = static_cast<uint16_t>(file[365] | file[366] << 8);
        EXPECT_EQ(vdp.trueColour0, version == 1 ? entry0 : (file[197106] | file[197107] << 8));
        EXPECT_EQ(vdp.drawPalette[0], version == 1 ? entry4 : entry0);
        EXPECT_EQ(std::memcmp(vdp.vram, &file[66032], kVRAMSize), 0);
    }
}

// Each damaged file is refused with a log line, and the machine saves afterwards exactly
// what it saved before.
TEST_F(SnapshotGameTest, DamagedFilesAreRefusedAndChangeNothing) {
    runFrames(1, 60);
    ASSERT_TRUE(saveSnapshot(1, false));
    const std::vector<uint8_t> good = readFile("TAVIR01.sav");
    resetMachine(cpu);
    runFrames(1, 20);
    ASSERT_TRUE(saveSnapshot(39, false));
    const std::vector<uint8_t> before = readFile("TAVIR39.sav");

    const float nan = std::nanf(""), infinity = INFINITY;
    const struct {
        const char* what;
        size_t offset;  // bytes written there; SIZE_MAX: the file cut to `length`
        std::vector<uint8_t> bytes;
        size_t length;
    } damages[] = {
        {"cut short", SIZE_MAX, {}, kVersion3Size - 1},
        {"version 1 cut short", 0, {1}, 197105},
        {"only a version byte", SIZE_MAX, {}, 1},
        {"empty", SIZE_MAX, {}, 0},
        {"version 4", 0, {4}, 0},
        {"version 0", 0, {0}, 0},
        {"mapper segment 4", 3, {4}, 0},
        {"primary slot 4", 9, {4}, 0},
        {"secondary slot 7", 16, {7}, 0},
        {"MSXSpeed -1", 19 + 0x1C, {0xFF, 0xFF, 0xFF, 0xFF}, 0},
        {"line countdown -2^31", 19 + 0x20, {0, 0, 0, 0x80}, 0},
        {"pending vector 0x1234", 19 + 0x28, {0x34, 0x12}, 0},
        {"clock index 16", 89, {16}, 0},
        {"Kanji counter 32", 147, {32}, 0},
        {"psgIndex 16", 213, {16}, 0},
        {"envelope length 0", 230, {0, 0, 0, 0}, 0},
        {"tone period NaN", 245, {}, 0},
        {"tone phase infinite", 253, {}, 0},
        {"noiseRun 1000", 265, {0xE8, 0x03, 0, 0}, 0},
        {"R#14 8", 276 + 14, {8}, 0},
        {"R#15 16", 276 + 15, {16}, 0},
        {"vramAddress 0x4000", 453, {0x00, 0x40}, 0},
        {"screen mode 9", 455, {9}, 0},
        {"command row base past VRAM", 456, {0, 0, 2, 0}, 0},
        {"command x step 2", 456 + 32, {2, 0, 0, 0}, 0},
    };
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> file = good;
        if (damage.offset == SIZE_MAX) {
            file.resize(damage.length);
        } else {
            std::vector<uint8_t> bytes = damage.bytes;
            if (bytes.empty()) {  // a float
                const float value = damage.offset == 245 ? nan : infinity;
                bytes.resize(4);
                std::memcpy(bytes.data(), &value, 4);
            }
            std::memcpy(&file[damage.offset], bytes.data(), bytes.size());
            if (damage.length != 0) file.resize(damage.length);
        }
        testing::writeFile("TAVIR02.sav", file);
        EXPECT_FALSE(loadSnapshot(2, false));
        EXPECT_NE(log().find("TAVIR02.sav not loaded: "), std::string::npos);
        ASSERT_TRUE(saveSnapshot(39, false));
        EXPECT_TRUE(readFile("TAVIR39.sav") == before);
    }
}

// Random bit flips in the fields before RAM: every file is either refused or loaded,
// and a loaded one runs; the sanitizers watch both.
TEST_F(SnapshotGameTest, BitFlippedFilesLoadOrAreRefusedSafely) {
    runFrames(1, 60);
    ASSERT_TRUE(saveSnapshot(1, false));
    const std::vector<uint8_t> good = readFile("TAVIR01.sav");
    std::mt19937 random(13);
    int loaded = 0;
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> file = good;
        for (int flip = 0; flip < 3; ++flip) {
            const size_t bit = random() % (496 * 8);
            file[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
        }
        testing::writeFile("TAVIR02.sav", file);
        if (!loadSnapshot(2, false)) continue;
        ++loaded;
        runFrames(1, 2);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 200);
}

// The save and load keys as the emulation thread hands them on: slot by selection key,
// a recording with the modifier.
TEST_F(SnapshotGameTest, SelectionKeysPickTheSlot) {
    runFrames(1, 10);
    const struct {
        uint8_t code;
        bool modifier;
        uint8_t key;
        const char* file;
        RecordingMode mode;
    } steps[] = {{kCommandSaveState, false, 0x32, "TAVIR37.sav", kRecordingOff},  // M
                 {kCommandSaveState, true, 0x06, "TAVIR05.smv", kRecording},      // 5
                 {kCommandLoadState, true, 0x06, "TAVIR05.smv", kPlayingBack},
                 {kCommandLoadState, false, 0x32, "TAVIR37.sav", kRecordingOff}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.file);
        stopInputRecording();
        commandCode.store(step.code);
        commandModifier = step.modifier;
        setHeadlessKey(step.key, true);
        commandRoutine();
        EXPECT_TRUE(fs::exists(step.file));
        EXPECT_EQ(recordingMode, step.mode);
    }
    commandModifier = false;
}

// A save that can't be written keeps the slot's previous file and says so once.
TEST_F(SnapshotGameTest, FailedSaveKeepsThePreviousFile) {
    runFrames(1, 10);
    ASSERT_TRUE(saveSnapshot(3, false));
    const std::vector<uint8_t> previous = readFile("TAVIR03.sav");
    runFrames(11, 10);
    fs::create_directory("TAVIR03.sav.tmp");  // where the new file would be written
    EXPECT_FALSE(saveSnapshot(3, false));
    EXPECT_TRUE(readFile("TAVIR03.sav") == previous);
    const std::string text = log();
    EXPECT_NE(text.find("TAVIR03.sav not saved: "), std::string::npos) << text;
}

TEST_F(SnapshotGameTest, MissingSlotLeavesTheMachineRunning) {
    runFrames(1, 10);
    const uint16_t pc = cpu.pc;
    EXPECT_FALSE(loadSnapshot(7, false));
    EXPECT_FALSE(loadSnapshot(7, true));
    EXPECT_EQ(cpu.pc, pc);
    EXPECT_EQ(recordingMode, kRecordingOff);
    EXPECT_EQ(log().find("TAVIR07"), std::string::npos);
}

}  // namespace
}  // namespace tavir
