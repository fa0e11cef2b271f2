// MSXgl's VDP command sample through tavir-headless on C-BIOS: its drawing screens hashed
// after 650 frames with scripted keys. A picture that differs is kept in the build folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kROM = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms" / "msxgl_s_vdpcmd.rom";

// Cursor down (DirectInput D0) steps SCREEN 8 to 5, 6, 7; cursor right (CD) steps
// through the HMMC, HMMM and LMMC pages that draw with every DIX/DIY combination.
const struct Screen { const char *name, *keys; uint64_t hash; } kScreens[] = {
    {"screen8", "", 0x7a91c6f73dfe9291},
    {"screen5", "--key 300:d0", 0xda466d23c69db82},
    {"screen6", "--key 300:d0 --key 400:d0", 0xb48a1381bc08afdc},
    {"screen7", "--key 300:d0 --key 400:d0 --key 500:d0", 0x866e8d94c202fdae},
    {"hmmc-directions", "--key 300:cd", 0xd63ca3291172acb1},
    {"hmmm-directions", "--key 300:cd --key 400:cd", 0xdbc521e5790285fb},
    {"lmmc-directions", "--key 300:cd --key 400:cd --key 500:cd", 0xfc06a9ede941ca33},
};

class VDPCommandSampleTest : public MachineDirectoryTest {
protected:
    void SetUp() override {
        if (!fs::exists(kROM)) GTEST_SKIP() << "no " << kROM;
        MachineDirectoryTest::SetUp();
        fs::copy_file(kROM, directory_.path() / "vdpcmd.rom");
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", directory_.path() / "msx.cfg");
        writeTextFile(directory_.path() / "cart.drc", "0vdpcmd.rom\n");
    }
    std::string picture(const Screen& screen) {
        const fs::path shot = directory_.path() / "shot.bmp";
        const std::string command = std::string("timeout 120 ") + TAVIR_HEADLESS + " --dir " +
                                    directory_.path().string() + " --frames 650 --unpaced " +
                                    screen.keys + " --screenshot " + shot.string() + " >/dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
        return readTextFile(shot);
    }
};

// Besides the hashes, SCREEN 8's documented bytes: HMMV and Fill blocks 0x1C (red 7
// alone); LMMV(OR) ORs a 0x6D block onto a 0x1C bar, so the overlap is 0x7D (red 7, blue
// 2) and the block above the bar 0x6F (red 3, blue 6 like the 0x47 background). Dot
// (x, y) is BMP pixel (32 + x, 14 + y), bottom-up, BGR.
TEST_F(VDPCommandSampleTest, DrawingScreensMatchTheirHashesAndTheDocumentedColours) {
    for (const Screen& screen : kScreens) {
        const std::string bmp = picture(screen);
        ASSERT_EQ(bmp.size(), 54u + 320 * 240 * 3) << screen.name;
        uint64_t hash = 0xCBF29CE484222325u;  // FNV-1a
        for (unsigned char c : bmp) hash = (hash ^ c) * 0x100000001B3u;
        if (hash != screen.hash) {
            const fs::path kept = fs::path(TAVIR_HEADLESS).parent_path().parent_path() /
                                  (std::string("vdpcmd-") + screen.name + ".bmp");
            writeTextFile(kept, bmp);
            ADD_FAILURE() << screen.name << ": hash 0x" << std::hex << hash << ", see " << kept;
        }
        if (&screen != &kScreens[0]) continue;
        const auto bgr = [&](int x, int y) { return bmp.substr(54 + (225 - y) * 960 + 96 + 3 * x, 3); };
        for (const auto& [x, y] : {std::pair{8, 160}, {23, 175}, {178, 32}, {193, 47}, {90, 165}})
            EXPECT_EQ(bgr(x, y), std::string("\0\0\xFF", 3)) << x << "," << y;
        for (const auto& [x, y] : {std::pair{7, 160}, {24, 175}, {8, 159}, {177, 40}, {194, 47}})
            EXPECT_EQ(bgr(x, y), bgr(0, 100)) << x << "," << y;
        const std::string overlap = bgr(100, 165), above = bgr(100, 161), background = bgr(0, 100);
        EXPECT_TRUE(overlap[2] == '\xFF' && above[2] != '\xFF' && above[0] == background[0]);
        EXPECT_TRUE(overlap[0] && uint8_t(overlap[0]) < uint8_t(above[0]) && overlap[1] == above[1]);
    }
}

}  // namespace
}  // namespace tavir::testing
