// tavir-headless run as a program: a C-BIOS run, its result line, and its answers to a
// failed start-up and to bad command lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <utility>
#include <vector>
#include <string>

#include "support/machine_fixture.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

class HeadlessRunnerTest : public testing::MachineDirectoryTest {
protected:
    // Runs tavir-headless on the test's working directory; the output goes to files in
    // another temporary directory so that it can't mix with what the program writes.
    ProgramRun run(const std::string& arguments) {
        const fs::path out = outputs_ / "stdout.txt", err = outputs_ / "stderr.txt";
        // A run that never ends (a refused option accepted by mistake, say) is stopped
        // after a minute and fails instead of holding up the whole suite.
        const std::string command = "timeout 60 " + std::string(TAVIR_HEADLESS) + " --dir " +
                                    directory_.path().string() + " " + arguments + " >" +
                                    out.string() + " 2>" + err.string() + " </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::readTextFile(out),
                testing::readTextFile(err)};
    }

    std::string log() const { return testing::readTextFile(directory_.path() / "TAVIRlog.txt"); }

    void SetUp() override {
        MachineDirectoryTest::SetUp();
        std::string pattern = (fs::temp_directory_path() / "tavir-output-XXXXXX").string();
        outputs_ = mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(outputs_, ignored);
    }

    fs::path outputs_;
};

const std::regex kResultLine(
    R"(^(\d+) frames in \d+\.\d{3} s: \d+\.\d frames/s, \d+\.\d{2}x real time\n$)");

TEST_F(HeadlessRunnerTest, RunsCBIOSForTheFramesAskedAndReportsTheSpeed) {
    const ProgramRun result = run("--frames 300 --unpaced");
    EXPECT_EQ(result.status, 0) << result.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(result.out, match, kResultLine)) << result.out;
    EXPECT_EQ(match[1], "300");
    EXPECT_EQ(result.err, "");
    const std::string text = log();
    EXPECT_NE(text.find("initMSX Succeed.\n"), std::string::npos);
    // 300 frames are five seconds of the frame schedule, none skipped.
    EXPECT_NE(text.find("initMSX Succeed.\n0 / 60\n0 / 60\n0 / 60\n0 / 60\n0 / 60\n"),
              std::string::npos)
        << text;
}

// A game run in one go, and the same run split in two at a saved snapshot, end on the
// same picture.
TEST_F(HeadlessRunnerTest, RunSplitAtASnapshotEndsLikeTheWholeRun) {
    const fs::path game = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms" / "transball-en.rom";
    if (!fs::exists(game)) GTEST_SKIP() << "no acceptance cartridge " << game;
    fs::copy_file(game, directory_.path() / "transball-en.rom");
    fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", directory_.path() / "msx.cfg");
    testing::writeTextFile(directory_.path() / "cart.drc", "0transball-en.rom\n");
    const std::string whole = (outputs_ / "whole.bmp").string();
    const std::string split = (outputs_ / "split.bmp").string();

    // Space at frame 250 cuts the intro short: the title menu shows at 300.
    EXPECT_EQ(run("--unpaced --frames 300 --key 250:39:5 --screenshot " + whole).status, 0);
    EXPECT_EQ(run("--unpaced --frames 240 --save-state 3").status, 0);
    const ProgramRun second = run("--unpaced --frames 60 --key 10:39:5 --load-state 3 "
                                  "--screenshot " + split);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(testing::readTextFile(split) == testing::readTextFile(whole));

    const ProgramRun missing = run("--frames 1 --load-state 4 --replay");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot load TAVIR04.smv"), std::string::npos) << missing.err;
}

// F6 (0x40) asks for a disk number; the script's later keys still come while the command
// waits, and the frame limit ends the run even when no number ever comes.
TEST_F(HeadlessRunnerTest, ScriptedKeysReachAWaitingCommandAndTheFrameLimitEndsIt) {
    const struct {
        const char* keys;
        const char* inLog;
        bool endsWaiting;
    } cases[] = {
        {"--key 5:40 --key 20:02", "A drive is not used.\n", false},  // the 1 key: disk 1
        {"--key 5:40", "initMSX Succeed.\n", true},
    };
    for (const auto& c : cases) {
        const ProgramRun result = run(std::string("--frames 40 --unpaced ") + c.keys);
        EXPECT_EQ(result.status, 0) << c.keys << ": " << result.err;
        EXPECT_NE(log().find(c.inLog), std::string::npos) << c.keys << ": " << log();
        EXPECT_EQ(result.err.find("while a command waited for its key") != std::string::npos,
                  c.endsWaiting)
            << c.keys << ": " << result.err;
    }
}

TEST_F(HeadlessRunnerTest, MissingMainBIOSFailsStartUpNamingTheFile) {
    fs::remove(directory_.path() / "MSX2P.rom");
    const ProgramRun result = run("--frames 10 --unpaced");
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("MSX2P.rom"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(log().find("MSX2P.rom Open Failed.\ninitMSX Failed.\n"), std::string::npos);
}

TEST_F(HeadlessRunnerTest, BadCommandLinesAreRefusedWithAReason) {
    const struct {
        const char* arguments;
        const char* inError;
    } cases[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--frames abc", "--frames"},
        {"--key 1:xyz", "CODE"},
        {"--screenshot", "--screenshot needs a value"},
        {"--midi", "--midi needs a value"},
        {"--dir /nonexistent/tavir", "/nonexistent/tavir"},
    };
    for (const auto& c : cases) {
        const ProgramRun result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_NE(result.err.find(c.inError), std::string::npos)
            << c.arguments << ": " << result.err;
    }
    EXPECT_FALSE(fs::exists(directory_.path() / "TAVIRlog.txt"));  // nothing was started
}

// A cartridge that plays one FM note: instrument 3 at full volume, F-number 0xAB, block
// 4, key on (C-BIOS's music ROM has no FM BIOS, so it writes the ports itself).
void installFMNoteCartridge(const fs::path& directory) {
    std::vector<uint8_t> rom(0x4000, 0xFF);
    const uint8_t header[] = {'A', 'B', 0x10, 0x40};
    std::copy(std::begin(header), std::end(header), rom.begin());
    std::vector<uint8_t> code = {0xF3};  // DI
    for (auto [index, value] : {std::pair{0x30, 0x30}, {0x10, 0xAB}, {0x20, 0x18}})
        code.insert(code.end(), {0x3E, uint8_t(index), 0xD3, 0x7C, 0x3E, uint8_t(value), 0xD3, 0x7D});
    code.insert(code.end(), {0x18, 0xFE});  // JR $
    std::copy(code.begin(), code.end(), rom.begin() + 0x10);
    testing::writeFile(directory / "fmnote.rom", rom);
    testing::writeTextFile(directory / "cart.drc", "0fmnote.rom\n");
    for (const char* name : {"msx.cfg", "opll.cfg"})
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / name, directory / name);
}

struct MIDIEvent {
    uint64_t tick;
    std::vector<uint8_t> bytes;  // meta and SysEx events with their type and length
};

// A format 0 file's track, event by event; no running status (the writer uses none).
std::vector<MIDIEvent> readTrack(const std::string& file) {
    std::vector<MIDIEvent> events;
    size_t i = 22;
    uint64_t tick = 0;
    auto number = [&] {  // seven bits a byte, bit 7 set on all but the last
        uint64_t value = 0;
        for (uint8_t byte = 0x80; byte & 0x80 && i < file.size(); value = value << 7 | (byte & 0x7F))
            byte = static_cast<uint8_t>(file[i++]);
        return value;
    };
    while (i < file.size()) {
        tick += number();
        const size_t start = i;
        const auto status = static_cast<uint8_t>(file[i]);
        size_t end;
        if (status >= 0xF0) {
            i += status == 0xFF ? 2 : 1;
            const uint64_t length = number();
            end = i + length;
        } else {
            end = i + ((status & 0xE0) == 0xC0 ? 2 : 3);
        }
        end = std::min(end, file.size());
        events.push_back({tick, std::vector<uint8_t>(file.begin() + start, file.begin() + end)});
        i = end;
    }
    return events;
}

TEST_F(HeadlessRunnerTest, TheFMNoteOfAZ80ProgramIsHeardAndSavedTimedInScanLines) {
    installFMNoteCartridge(directory_.path());
    const fs::path midi = outputs_ / "fm.mid", wav = outputs_ / "fm.wav";
    const ProgramRun result =
        run("--frames 600 --unpaced --midi " + midi.string() + " --audio " + wav.string());
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string file = testing::readTextFile(midi);
    // Format 0, one track, 768 ticks a quarter note.
    ASSERT_EQ(file.substr(0, 14), std::string("MThd\0\0\0\6\0\0\0\1\3\0", 14));
    ASSERT_EQ(file.substr(14, 4), "MTrk");

    const std::vector<MIDIEvent> events = readTrack(file);
    using Bytes = std::vector<uint8_t>;
    ASSERT_EQ(events.size(), 2u + 10 + 63 + 3 + 10 + 1);
    EXPECT_EQ(events[0].bytes, (Bytes{0xFF, 0x51, 0x03, 0x00, 0xC3, 0x50}));  // 50000 us
    EXPECT_EQ(events[1].bytes, (Bytes{0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(events[74].bytes, (Bytes{0xB8, 101, 127}));  // the last of the set-up
    for (int i = 0; i < 75; ++i) EXPECT_EQ(events[i].tick, 0u) << i;
    // The program's three writes, within a few lines of each other during the run.
    const uint64_t noteTick = events[77].tick;
    EXPECT_EQ(events[75].bytes, (Bytes{0xB0, 11, 127}));
    EXPECT_EQ(events[76].bytes, (Bytes{0xE0, 25, 69}));
    EXPECT_EQ(events[77].bytes, (Bytes{0x90, 59, 127}));
    EXPECT_GT(events[75].tick, 0u);
    EXPECT_LE(noteTick - events[75].tick, 2u);
    // The built-in synthesizer plays it from the frame it was sent in; before, the machine
    // was silent.
    const std::string samples = testing::readTextFile(wav).substr(44);
    int loudest[2] = {};
    for (size_t i = 0; i + 1 < samples.size() && i < (noteTick / 256 + 20) * 735 * 2; i += 2) {
        const auto sample = static_cast<int16_t>(uint8_t(samples[i]) | uint8_t(samples[i + 1]) << 8);
        int& before = loudest[i >= noteTick / 256 * 735 * 2];
        before = std::max(before, std::abs(int(sample)));
    }
    EXPECT_EQ(loudest[0], 0);
    EXPECT_GT(loudest[1], 1000);
    // The end of the run silences all ten channels after 600 frames of 256 lines.
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(events[78 + c].bytes, (Bytes{uint8_t(0xB0 + c), 120, 0}));
        EXPECT_EQ(events[78 + c].tick, 600u * 256);
    }
    EXPECT_EQ(events.back().bytes, (Bytes{0xFF, 0x2F, 0x00}));
}

// The 240p test suite's MDFourier run plays FM through the FM BIOS, which C-BIOS lacks:
// a 16 KB stand-in carries the MSX-MUSIC signature and a WRTOPL (A = register, E = data)
// that writes the ports; its other entries return at once.
TEST_F(HeadlessRunnerTest, TestSuiteMDFourierPlaysFiveOctavesAndTheFiveDrums) {
    const fs::path suite = fs::path(TAVIR_SHARED_DIR) / "acceptance/roms/suitemsx_240p.rom";
    if (!fs::exists(suite)) GTEST_SKIP() << suite << " is absent";
    installFMNoteCartridge(directory_.path());  // for msx.cfg and opll.cfg
    fs::copy_file(suite, directory_.path() / "suite.rom");
    testing::writeTextFile(directory_.path() / "cart.drc", "2suite.rom\n");
    std::vector<uint8_t> fmBIOS(0x4000, 0xC9);
    std::copy_n("APRLOPLL", 8, fmBIOS.begin() + 0x18);
    const uint8_t entries[] = {0xC3, 0x00, 0x42, /* at 0x4200: */ 0xD3, 0x7C, 0xF5, 0x7B,
                               0xD3, 0x7D, 0xF1, 0xC9};  // OUT (7C),A PUSH AF LD A,E OUT (7D),A POP AF RET
    std::copy_n(entries, 3, fmBIOS.begin() + 0x110);
    std::copy_n(entries + 3, 8, fmBIOS.begin() + 0x200);
    testing::writeFile(directory_.path() / "FMBIOS.rom", fmBIOS);
    // Audio Tests (two down, space), MDFourier PSG+FM (three down, space), start (space).
    const fs::path midi = outputs_ / "suite.mid";
    const ProgramRun result = run(
        "--frames 4800 --unpaced --key 1000:d0:3 --key 1020:d0:3 --key 1040:39:3 --key 1100:d0:3 "
        "--key 1120:d0:3 --key 1140:d0:3 --key 1160:39:3 --key 1250:39:3 --midi " + midi.string());
    ASSERT_EQ(result.status, 0) << result.err;

    std::vector<int> notes, drums;
    int pitchBend = 8192;
    for (const MIDIEvent& e : readTrack(testing::readTextFile(midi))) {
        const uint8_t status = e.bytes[0];
        if (status >= 0xE0 && status <= 0xE4) pitchBend = e.bytes[1] | e.bytes[2] << 7;
        if (status >= 0x90 && status <= 0x94) {
            EXPECT_EQ(status & 0x0F, notes.size() % 5) << "channels 0-4 in turn";
            // The suite's F-numbers are in tune: a little sharp, never by half a semitone.
            EXPECT_GE(pitchBend, 8192);
            EXPECT_LT(pitchBend, 8192 + 8192 / 24) << "note " << int(e.bytes[1]);
            notes.push_back(e.bytes[1]);
        }
        if (status == 0x99) drums.push_back(e.bytes[1] << 8 | e.bytes[2]);
    }
    std::vector<int> chromatic(60);
    for (int i = 0; i < 60; ++i) chromatic[i] = 36 + i;  // C two octaves below middle C up
    EXPECT_EQ(notes, chromatic);
    // Hi-hat, cymbal, tom, snare, bass drum at their loudest: opll.cfg's notes and PVolume.
    EXPECT_EQ(drums, (std::vector<int>{0x2A50, 0x315A, 0x2D64, 0x266E, 0x2478}));
}

}  // namespace
}  // namespace tavir
