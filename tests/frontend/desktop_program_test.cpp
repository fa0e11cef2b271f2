// The desktop program itself under a virtual X server: it opens its window, "Start CPU"
// runs the machine, "Exit" ends it cleanly. The TAVIR_AUTORUN_FRAMES hook makes the
// program choose both menu items itself.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "support/machine_fixture.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

bool xvfbRunInstalled() {
    return std::system("command -v xvfb-run >/dev/null 2>&1") == 0;
}

// A cartridge of 16 KB whose start routine makes the border white (R#7 = 15) and the
// screen visible, then loops.
void writeWhiteCartridge(const fs::path& path) {
    std::vector<uint8_t> rom(0x4000, 0xFF);
    const std::vector<uint8_t> header = {'A',  'B',  0x10, 0x40, 0,    0,    0,    0,    0,
                                         0,    0,    0,    0,    0,    0,    0,    0xF3, 0x3E,
                                         0x0F, 0xD3, 0x99, 0x3E, 0x87, 0xD3, 0x99, 0x3E, 0x40,
                                         0xD3, 0x99, 0x3E, 0x81, 0xD3, 0x99, 0x18, 0xFE};
    std::copy(header.begin(), header.end(), rom.begin());
    testing::writeFile(path, rom);
}

// The colour of pixel (x, y) of an X window dump as 0xRRGGBB, or -1 when it is not a
// 32-bit true-colour dump holding that pixel.
int64_t xwdPixel(const std::string& dump, uint32_t x, uint32_t y) {
    auto field = [&](size_t i) -> uint32_t {
        if (dump.size() < 4 * i + 4) return 0;
        const auto* b = reinterpret_cast<const uint8_t*>(dump.data()) + 4 * i;
        return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
    };
    const size_t at = size_t{field(0)} + size_t{field(19)} * 12 + size_t{y} * field(12) + 4 * x;
    if (field(11) != 32 || field(7) != 0 || x >= field(4) || y >= field(5) || at + 4 > dump.size())
        return -1;
    const auto* b = reinterpret_cast<const uint8_t*>(dump.data()) + at;
    return (uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0]) & 0xFFFFFF;
}

class DesktopProgramTest : public testing::MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        if (IsSkipped()) return;
        if (!xvfbRunInstalled()) GTEST_SKIP() << "xvfb-run is not installed: no X server to run on";
    }
    // Runs the program in the test's working directory; its terminal output goes to a
    // file beside the log. In a sanitizer build the program keeps every check but the leak
    // report: Mesa's GL driver, which SDL unloads at exit, leaves blocks behind that
    // LeakSanitizer can no longer attribute. The machine's own memory is leak-checked by
    // the in-process tests.
    int run(const std::string& environment, const std::string& arguments = "",
            const std::string& program = TAVIR_TAVIR) {
        const std::string command = "cd " + directory_.path().string() + " && " + environment +
                                    " ASAN_OPTIONS=detect_leaks=0 xvfb-run -a " + program + " " +
                                    arguments + " >output.txt 2>&1 </dev/null";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string file(const char* name) { return testing::readTextFile(directory_.path() / name); }
};

// Through OpenGL, as on a machine with a GPU; the other runs draw without it, as the program
// does when its only OpenGL is a software rasteriser, as under Xvfb.
TEST_F(DesktopProgramTest, OpensItsWindowRunsTheMachineAndExits) {
    EXPECT_EQ(run("SDL_AUDIODRIVER=dummy TAVIR_WINDOW_OPENGL=1 TAVIR_AUTORUN_FRAMES=130"), 0)
        << file("output.txt");
    const std::string log = file("TAVIRlog.txt");
    EXPECT_NE(log.find("initMSX Succeed.\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
    // The pacing writes one line per 60 frames run: the machine really ran after
    // "Start CPU", at least two seconds' worth before "Exit".
    const std::regex secondLine(R"((\d+) / 60\n)");
    const auto seconds = std::distance(std::sregex_iterator(log.begin(), log.end(), secondLine),
                                       std::sregex_iterator());
    EXPECT_EQ(seconds, 2) << log;
}

// Named on the command line, or dropped onto the running window (which resets the
// machine), C-BIOS starts the white cartridge. The window opens at 3x a 320 x 240
// picture with its 19-row menu bar: Xvfb's 1280 x 1024 screen has room for 960 x 739 but
// not for 4x.
TEST_F(DesktopProgramTest, ACartridgeFromTheCommandLineOrDroppedStartsInAWindowOfThreeTimes) {
    writeWhiteCartridge(directory_.path() / "white.rom");
    const std::string romPath = (directory_.path() / "white.rom").string();
    for (const bool dropped : {false, true}) {
        SCOPED_TRACE(dropped ? "dropped" : "named");
        fs::remove(directory_.path() / "shot.bmp");
        const std::string hook = "TAVIR_AUTORUN_FRAMES=200 TAVIR_AUTORUN_SCREENSHOT=shot.bmp " +
                                 (dropped ? "TAVIR_AUTORUN_DROP=" + romPath : std::string());
        // xwininfo asks the X server for the window's size while the program runs; a slow
        // run that ends before it answers leaves the other run's answer in place.
        const std::string program = std::string(TAVIR_TAVIR) + (dropped ? "" : " white.rom");
        // xwd then dumps the window until the program ends: the last dump shows the picture.
        const std::string size = "sh -c '" + program + " & p=$!; for i in $(seq 100); do " +
                                 "xwininfo -name MENU >w.txt 2>/dev/null && " +
                                 "mv w.txt window.txt && break; sleep 0.1; done; " +
                                 "while kill -0 $p; do xwd -name MENU -out w.xwd 2>/dev/null " +
                                 "&& mv w.xwd window.xwd; sleep 0.2; done; wait $p'";
        ASSERT_EQ(run(hook, "", size), 0) << file("output.txt");
        const std::string shot = file("shot.bmp");
        ASSERT_EQ(shot.size(), 54u + 320 * 240 * 3);
        EXPECT_EQ(shot.substr(54, 3), "\xff\xff\xff") << "the bottom-left border pixel is white";
        if (std::system("command -v xwd >/dev/null 2>&1") != 0) continue;
        // The window shows it three times as large below the dark menu bar.
        const std::string dump = file("window.xwd");
        EXPECT_EQ(xwdPixel(dump, 0, 738), 0xFFFFFF);
        EXPECT_EQ(xwdPixel(dump, 959, 19), 0xFFFFFF);
        const int64_t menu = xwdPixel(dump, 959, 0);
        EXPECT_TRUE(menu >= 0 && (menu & 0x808080) == 0) << std::hex << menu;
    }
    if (std::system("command -v xwininfo >/dev/null 2>&1") == 0) {
        const std::string window = file("window.txt");
        EXPECT_NE(window.find("Width: 960\n"), std::string::npos) << window;
        EXPECT_NE(window.find("Height: 739\n"), std::string::npos) << window;
    }
}

// Started in a folder without system ROMs (here "games", naming the game relative to it),
// the program fills a directory of its own under XDG_DATA_HOME, keeps what the user already
// put there (the patterned Kanji font), says where it is, and C-BIOS starts the game.
TEST_F(DesktopProgramTest, FromAFolderWithoutROMsItPreparesItsOwnDirectoryAndStartsTheGame) {
    const fs::path own = directory_.path() / "data/tavir";
    fs::create_directories(own);
    fs::create_directory(directory_.path() / "games");
    writeWhiteCartridge(directory_.path() / "games/white.rom");
    fs::copy_file(directory_.path() / "KANJI.rom", own / "KANJI.rom");
    ASSERT_EQ(
        run("cd games && XDG_DATA_HOME=" + (directory_.path() / "data").string() +
                " SDL_AUDIODRIVER=dummy TAVIR_AUTORUN_FRAMES=200 TAVIR_AUTORUN_SCREENSHOT=shot.bmp",
            "white.rom"),
        0);
    EXPECT_NE(file("games/output.txt").find("working directory " + own.string()),
              std::string::npos);
    const std::string shot = testing::readTextFile(own / "shot.bmp");
    ASSERT_EQ(shot.size(), 54u + 320 * 240 * 3);
    EXPECT_EQ(shot.substr(54, 3), "\xff\xff\xff") << "the bottom-left border pixel is white";
    EXPECT_EQ(testing::readTextFile(own / "KANJI.rom"), file("KANJI.rom"));
}

// A cartridge sets tone A to period 510 at full volume; SDL's disk driver records what
// the audio device played. Without any audio device the machine runs on silently.
TEST_F(DesktopProgramTest, PlaysThePSGThroughSDLAudioOrRunsSilentWithout) {
    std::vector<uint8_t> rom(0x4000, 0xFF);
    const uint8_t code[] = {'A', 'B', 0x10, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            0xF3, 0x3E, 0, 0xD3, 0xA0, 0x3E, 0xFE, 0xD3, 0xA1, 0x3E, 1, 0xD3,
                            0xA0, 0x3E, 1, 0xD3, 0xA1, 0x3E, 7, 0xD3, 0xA0, 0x3E, 0xBE, 0xD3,
                            0xA1, 0x3E, 8, 0xD3, 0xA0, 0x3E, 15, 0xD3, 0xA1, 0x18, 0xFE};
    std::copy(std::begin(code), std::end(code), rom.begin());
    testing::writeFile(directory_.path() / "tone.rom", rom);
    testing::writeTextFile(directory_.path() / "cart.drc", "0tone.rom\n");
    fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", directory_.path() / "msx.cfg");

    EXPECT_EQ(run("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=played.raw TAVIR_AUTORUN_FRAMES=300"), 0);
    const std::string played = file("played.raw");
    // 16-bit samples at 127/128 of full scale, 20 dB down: +3251 (0x0CB3) and -3252 (0xF34C).
    EXPECT_NE(played.find("\xB3\x0C\xB3\x0C"), std::string::npos) << played.size();
    EXPECT_NE(played.find("\x4C\xF3\x4C\xF3"), std::string::npos) << played.size();

    EXPECT_EQ(run("SDL_AUDIODRIVER=none TAVIR_AUTORUN_FRAMES=70"), 0);
    const std::string log = file("TAVIRlog.txt");
    EXPECT_NE(log.find("DirectSoundCreate Failed.\ninitPSG Failed.\nNot use PSG.\n"),
              std::string::npos)
        << log;
    EXPECT_TRUE(std::regex_search(log, std::regex(R"(initMSX Succeed\.\n\d+ / 60\n)"))) << log;
}

TEST_F(DesktopProgramTest, WithoutADisplayStartUpFailsAsTheVideoDoes) {
    const std::string command = "cd " + directory_.path().string() +
                                " && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 " +
                                TAVIR_TAVIR + " >output.txt 2>&1 </dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    const std::string log = file("TAVIRlog.txt");
    EXPECT_NE(log.find("Failed.\ninitVDP Failed.\ninitMSX Failed.\n"), std::string::npos) << log;
    EXPECT_NE(file("output.txt").find("tavir: "), std::string::npos) << "SDL's reason on stderr";
}

}  // namespace
}  // namespace tavir
