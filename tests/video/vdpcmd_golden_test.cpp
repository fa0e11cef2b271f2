// MSXgl's VDP command sample run end to end through tavir-headless on C-BIOS: its
// drawing screens hashed after a fixed number of frames with scripted keys (the machine
// is deterministic), and the pixels its documentation works out checked one by one.
// A picture that differs is kept in the build folder as vdpcmd-<screen>.bmp.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kROM = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms" / "msxgl_s_vdpcmd.rom";

struct Screen {
    const char* name;
    const char* keys;  // --key options: down C8/D0 change the mode, right CD the command page
    uint64_t hash;
};

// DirectInput codes: D0 cursor down, CD cursor right.
const Screen kScreens[] = {
    {"screen8", "", 0x7a91c6f73dfe9291},
    {"screen5", "--key 300:d0", 0xda466d23c69db82},
    {"screen6", "--key 300:d0 --key 400:d0", 0xb48a1381bc08afdc},
    {"screen7", "--key 300:d0 --key 400:d0 --key 500:d0", 0x866e8d94c202fdae},
    {"hmmc-directions", "--key 300:cd", 0xd63ca3291172acb1},
    {"hmmm-directions", "--key 300:cd --key 400:cd", 0xdbc521e5790285fb},
    {"lmmc-directions", "--key 300:cd --key 400:cd --key 500:cd", 0xfc06a9ede941ca33},
};

uint64_t fnv1a(const std::string& bytes) {
    uint64_t h = 0xCBF29CE484222325u;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001B3u;
    return h;
}

// RGB of display dot (x, y) in the 320 x 240 bottom-up BMP: 212 lines start on frame
// row 14, the active area after a 32-pixel border.
struct RGB {
    int r, g, b;
    bool operator==(const RGB&) const = default;
};
RGB dot(const std::string& bmp, int x, int y) {
    const size_t at = 54 + static_cast<size_t>(239 - (14 + y)) * 960 + (32 + x) * 3;
    return {static_cast<uint8_t>(bmp[at + 2]), static_cast<uint8_t>(bmp[at + 1]),
            static_cast<uint8_t>(bmp[at])};
}

class VDPCommandSampleTest : public MachineDirectoryTest {
protected:
    void SetUp() override {
        if (!fs::exists(kROM)) GTEST_SKIP() << "no " << kROM;
        MachineDirectoryTest::SetUp();
        fs::copy_file(kROM, directory_.path() / "vdpcmd.rom");
        writeTextFile(directory_.path() / "cart.drc", "0vdpcmd.rom\n");
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", directory_.path() / "msx.cfg");
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
    // Beside the build's programs, where a failed run's pictures outlive the test.
    const fs::path keptDirectory_ = fs::path(TAVIR_HEADLESS).parent_path().parent_path();
};

TEST_F(VDPCommandSampleTest, DrawingScreensMatchTheirHashes) {
    for (const Screen& screen : kScreens) {
        const std::string bmp = picture(screen);
        ASSERT_EQ(bmp.size(), 54u + 320 * 240 * 3) << screen.name;
        const uint64_t hash = fnv1a(bmp);
        if (hash != screen.hash) {
            const fs::path kept = keptDirectory_ / (std::string("vdpcmd-") + screen.name + ".bmp");
            writeTextFile(kept, bmp);
            ADD_FAILURE() << screen.name << ": hash 0x" << std::hex << hash << ", picture in " << kept;
        }
    }
}

// The sample's documented SCREEN 8 bytes: the HMMV and Fill blocks are 0x1C (red 7
// alone); LMMV(OR) puts a 0x1C bar under a 0x6D block, so the overlap is 0x7D (green 3,
// red 7, blue 2) and the block above the bar 0x6F (green 3, red 3, blue 6, the blue of
// the 0x47 background).
TEST_F(VDPCommandSampleTest, Screen8ShowsTheDocumentedColours) {
    const std::string bmp = picture(kScreens[0]);
    ASSERT_EQ(bmp.size(), 54u + 320 * 240 * 3);
    const RGB red{255, 0, 0}, background = dot(bmp, 0, 100);
    for (const auto& [x, y] : {std::pair{8, 160}, {23, 175}, {178, 32}, {193, 47}, {90, 165}})
        EXPECT_EQ(dot(bmp, x, y), red) << x << "," << y;
    for (const auto& [x, y] : {std::pair{7, 160}, {24, 175}, {8, 159}, {177, 40}, {194, 47}})
        EXPECT_EQ(dot(bmp, x, y), background) << x << "," << y;
    const RGB overlap = dot(bmp, 100, 165), above = dot(bmp, 100, 161);
    EXPECT_EQ(overlap.r, 255);
    EXPECT_EQ(overlap.g, above.g);
    EXPECT_GT(overlap.b, 0);
    EXPECT_LT(overlap.b, above.b);
    EXPECT_LT(above.r, 255);
    EXPECT_EQ(above.b, background.b);
}

}  // namespace
}  // namespace tavir::testing
