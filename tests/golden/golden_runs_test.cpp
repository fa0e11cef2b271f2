// Real programs run through tavir-headless on C-BIOS for a fixed number of frames with
// scripted keys; the picture (and, where the program plays something, the sound) must
// hash to the value recorded when a person last looked at it. The machine is
// deterministic, so any change in the CPU, the memory map, the mappers, the video chip,
// the PSG, the FM translation, the command keys or the disk services that shows on
// screen, in the speaker or in the MIDI file shows here. Each run is a test of its own. A
// picture (sound, MIDI file) that differs is kept as golden-<name>.bmp (.wav, .mid) in the
// build folder; when a value changes on purpose, look at it and say why in the commit.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kROMs = fs::path(TAVIR_SHARED_DIR) / "acceptance" / "roms";
const fs::path kPrograms = TAVIR_PROGRAMS_DIR;  // ours, from tests/golden/programs

// Where a cart.drc line's image comes from: our programs first, then the shared folder.
fs::path imageOf(const std::string& cart) {
    return fs::exists(kPrograms / cart.substr(1)) ? kPrograms / cart.substr(1) : kROMs / cart.substr(1);
}

// A 720 KB double-sided disk (media 0xF9) whose sector 5 holds readable text and whose
// other sectors hold their own number, for drive A.
void writeDisk(const fs::path& dir) {
    std::string image(1440 * 512, '\0');
    const unsigned char boot[] = {0xEB, 0xFE, 0x90, 'T', 'A', 'V', 'I', 'R', ' ', ' ', ' ', 0x00, 0x02,
                                  0x02, 0x01, 0x00, 0x02, 0x70, 0x00, 0xA0, 0x05, 0xF9, 0x03, 0x00,
                                  0x09, 0x00, 0x02, 0x00};
    image.replace(0, sizeof boot, reinterpret_cast<const char*>(boot), sizeof boot);
    for (int sector = 1; sector < 1440; ++sector) image[sector * 512] = static_cast<char>(sector);
    const std::string text =
        "Sector 5 of drive A, read through DSKIO and written back to sector 6.    ";
    for (size_t i = 0; i < 480; ++i) image[5 * 512 + i] = text[i % text.size()];
    writeTextFile(dir / "disk.dsk", image);
    writeTextFile(dir / "adrive.dfd", "disk.dsk\n");
}

// Keys are DirectInput codes: 39 Space, C8/D0/CB/CD cursor up/down/left/right; the
// emulator's own keys 42 screenshot (F8), 57 picture on/off (F11), DB picture size.
struct GoldenRun {
    const char* name;
    const char* cart;    // the cart.drc line, "" for C-BIOS alone
    const char* settings;  // msx.cfg entries added after the shipped ones, which they override
    int frames;
    const char* keys;
    const char* picture; // "" for the last picture; else a file the run writes itself
    uint64_t pictureHash;
    uint64_t soundHash;  // 0: the run plays nothing worth keeping
    bool disk = false;   // a 720 KB disk in drive A (writeDisk)
    uint64_t midiHash = 0;  // else the shipped opll.cfg and the MIDI file of the FM music
    bool fmBIOS = false;    // our FM BIOS stand-in (fmbios_stub) in place of C-BIOS's
};

void PrintTo(const GoldenRun& run, std::ostream* out) { *out << run.name; }

const char kLarge[] = ".DisplayMode = 01\n";  // 640x480; 320x240 is the default
const char kLimitOnly[] = ".SpriteLimit = 01\n.CheckSprite = 00\n";

const GoldenRun kRuns[] = {
    // Our cartridge calling DSKIO (read, write, past the end, empty drive B), DSKCHG,
    // GETDPB and DSKFMT: sector 5's text, then per call A F B C in hex, then the DPB.
    {"disk-services", "0disk_services.rom", "", 300, "", "", 0xb97139acf8214fc7, 0, true},
    // Our cartridge counting frame interrupts under IM 2, 1 and 0, and timed loop passes
    // between two of them (row 0: 08 08 08; row 1: 0681).
    {"interrupt-modes", "0interrupts.rom", "", 300, "", "", 0xdca6bcf2181d5f99, 0},
    // C-BIOS's "No cartridge found." text screen; F8 writes it as TAVIR000.bmp itself.
    {"cbios", "", "", 300, "", "", 0xe274495771c7f485, 0},
    {"cbios-screenshot-key", "", "", 300, "--key 200:42", "TAVIR000.bmp", 0xe274495771c7f485, 0},
    // SCREEN 2 title picture with the menu tune on all three PSG channels.
    {"transball-title", "0transball-en.rom", "", 600, "", "", 0xe9bd905d454dd153, 0xde35c116c076cf07},
    {"transball-play", "0transball-en.rom", "", 900, "--key 300:39:4 --key 600:39:4", "", 0xb2786871a619bd2f, 0},
    // SCREEN 2, 32 sprites of 8x8 in sprite mode 1, then with the 4-per-line limit on.
    {"sprite-mode-1", "0msxgl_s_sm1.rom", "", 300, "", "", 0x58083153cb203c76, 0},
    {"sprite-mode-1-limit", "0msxgl_s_sm1.rom", ".SpriteLimit = 01\n", 300, "", "", 0xbec363403de1e358, 0},
    // SCREEN 0 at 40 columns: the ASCII8 self-test's table of segments; error count 0.
    {"ascii8-self-test", "4msxgl_s_mapper.rom", "", 200, "", "", 0xfb79bfd603d363b5, 0},
    // Each mapper's segment viewer: the first bytes of segments 0-7 seen at 0x8000.
    {"ascii8-segments", "4msxgl_s_target_ASCII8_128K.rom", "", 200, "", "", 0x31167c0d8fa00a4a, 0},
    {"ascii16-segments", "5msxgl_s_target_ASCII16_128K.rom", "", 200, "", "", 0xb074e7011c7f135c, 0},
    {"konami-segments", "3msxgl_s_target_KONAMI_128K.rom", "", 200, "", "", 0x38e295a31610a0d6, 0},
    {"konami-scc-segments", "2msxgl_s_target_KONAMI_SCC_128K.rom", "", 200, "", "", 0xe7aa2d6125f942cb, 0},
    // SCREEN 5 menu after the Graphic 2 logo; then Audio Tests > Sound Test, a 1 kHz tone.
    {"240p-menu", "2suitemsx_240p.rom", "", 700, "", "", 0x5ebf4821405871ec, 0},
    {"240p-sound-test", "2suitemsx_240p.rom", "", 1000,
     "--key 600:d0:6 --key 630:d0:6 --key 660:39:6 --key 760:39:6", "", 0x413e46b018ffacd6, 0xa851e3d2ccd7d310},
    // The picture switched off during the logo keeps showing the logo.
    {"240p-picture-off-key", "2suitemsx_240p.rom", "", 700, "--key 300:57", "", 0xfab4677382f1a79a, 0},
    // Bitmap screens 8, 7 and 6 with the sprite-mode-2 cursor, drawn at 640x480.
    {"screen8-640", "0msxgl_s_vdpcmd.rom", kLarge, 650, "", "", 0x18cb7bcd1abc672a, 0},
    {"screen6-640", "0msxgl_s_vdpcmd.rom", kLarge, 650, "--key 300:d0 --key 400:d0", "", 0xb5ea006ad55ea0f2, 0},
    {"screen7-640", "0msxgl_s_vdpcmd.rom", kLarge, 650, "--key 300:d0 --key 400:d0 --key 500:d0", "", 0x4d02e75bb54806ae, 0},
    // The same sample at 320x240, where bitmap screens 6 and 7 merge dot pairs; cursor
    // right steps through the HMMC, HMMM and LMMC pages that draw with every DIX/DIY.
    {"screen8", "0msxgl_s_vdpcmd.rom", "", 650, "", "", 0x7a91c6f73dfe9291, 0},
    {"screen5", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:d0", "", 0xda466d23c69db82, 0},
    {"screen6", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:d0 --key 400:d0", "", 0xb48a1381bc08afdc, 0},
    {"screen7", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:d0 --key 400:d0 --key 500:d0", "", 0x866e8d94c202fdae, 0},
    {"hmmc-directions", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:cd", "", 0xd63ca3291172acb1, 0},
    {"hmmm-directions", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:cd --key 400:cd", "", 0xdbc521e5790285fb, 0},
    {"lmmc-directions", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:cd --key 400:cd --key 500:cd", "", 0xfc06a9ede941ca33, 0},
    // Our cartridge playing tone, noise, both, silence and the triangle envelope on channel
    // A (psg_tour.asm says what each sounds like); UsePSG 0 silences all 800 frames.
    {"psg-tour", "0psg_tour.rom", "", 800, "", "", 0x274320ba7881ec4d, 0x29b3472ebf4b88aa},
    {"psg-off", "0psg_tour.rom", ".UsePSG = 00\n", 800, "", "", 0x274320ba7881ec4d, 0x0377a1b615716ecb},
    // Our cartridge writing one FM note to the OPLL's ports (fm_note.asm works out its
    // MIDI messages): heard from the built-in synthesizer from the frame it is sent in.
    {"fm-note", "0fm_note.rom", "", 600, "", "", 0x274320ba7881ec4d, 0x26f04ca5cd3e8f75, false,
     0x78cad04a528c98fb},
    // The 240p suite's MDFourier run through the FM BIOS stand-in: Audio Tests, MDFourier
    // PSG+FM, start; five octaves of notes on channels 0-4 in turn, then the five drums.
    {"240p-mdfourier", "2suitemsx_240p.rom", "", 4800,
     "--key 1000:d0:3 --key 1020:d0:3 --key 1040:39:3 --key 1100:d0:3 --key 1120:d0:3 "
     "--key 1140:d0:3 --key 1160:39:3 --key 1250:39:3",
     "", 0x0deb94d551004df3, 0x042fadec4103fa50, false, 0x550b9cd3d1a89d1e, true},
    // Our cartridge's stripes (scroll.asm): SCREEN 5 with the horizontal adjust, both
    // scrolls and the left mask; with 212 lines, the vertical adjust and the two-page
    // scroll; SCREEN 3; interlaced SCREEN 7 with the odd field from page 1.
    {"scroll-screen5", "0scroll.rom", "", 300, "", "", 0x55e8628459497b8d, 0},
    {"scroll-screen5-640", "0scroll.rom", kLarge, 300, "", "", 0x54c8177883e142ea, 0},
    {"scroll-two-pages", "0scroll.rom", "", 500, "", "", 0x810d32ea1eb35685, 0},
    {"scroll-two-pages-640", "0scroll.rom", kLarge, 500, "", "", 0x09819ace8b3923c2, 0},
    {"multicolour", "0scroll.rom", "", 700, "", "", 0xc144e2f813924f2d, 0},
    {"interlace", "0scroll.rom", "", 1100, "", "", 0xf265a8ce76ab762d, 0},
    {"interlace-640", "0scroll.rom", kLarge, 1100, "", "", 0x178fb93801e3636a, 0},
    // Our sprites (sprites.asm): sprite mode 1 at both sizes, without collision checks,
    // magnified; sprite mode 2 with R#5's forced bit, CC and colours per line.
    {"sprites-mode1", "0sprites.rom", "", 330, "", "", 0x764db3318f4fc2ed, 0},
    {"sprites-mode1-640", "0sprites.rom", kLarge, 330, "", "", 0x6b392fcd4c8365ea, 0},
    {"sprites-unchecked", "0sprites.rom", ".CheckSprite = 00\n", 330, "", "", 0x7e60f7d94f0622ed, 0},
    {"sprites-magnified", "0sprites.rom", "", 440, "", "", 0xc41f29db7cb4421d, 0},
    {"sprites-mode2", "0sprites.rom", "", 700, "", "", 0xc125f93c866e19ad, 0},
    {"sprites-mode2-640", "0sprites.rom", kLarge, 700, "", "", 0x3912de087eb3566a, 0},
    // The picture-size key takes SCREEN 5 from 320x240 to 640x480 mid-run.
    {"screen5-size-key", "0msxgl_s_vdpcmd.rom", "", 650, "--key 300:d0 --key 600:db", "", 0x1e0ab0b1709547ce, 0},    // Our screens: 80-column text at both sizes, then SCREEN 12 (YJK) and SCREEN 11 (YAE).
    {"text80", "0screens.rom", "", 200, "", "", 0x4bc5ab96892a8725, 0},
    {"text80-640", "0screens.rom", kLarge, 200, "", "", 0xa3b15ef23fc6bd52, 0},
    {"yjk", "0screens.rom", "", 320, "", "", 0x11f779d7bc12c83c, 0},
    {"yae-640", "0screens.rom", kLarge, 420, "", "", 0xe4b5f9121043aafe, 0},
    // Our 128 KB cartridge writing every mapper's bank registers, their mirrors and
    // addresses each mapper ignores: per write, the banks the four windows show.
    {"mapper-plain8k", "0mappers.rom", "", 200, "", "", 0xa78a2e8f59852787, 0},
    {"mapper-bank16k", "1mappers.rom", "", 200, "", "", 0x1de7f6b79e6f4977, 0},
    {"mapper-konami-scc", "2mappers.rom", "", 200, "", "", 0x2060d3b49058db37, 0},
    {"mapper-konami", "3mappers.rom", "", 200, "", "", 0x78acb012c23bde8f, 0},
    {"mapper-ascii8", "4mappers.rom", "", 200, "", "", 0x53e1ee635ceb0dcb, 0},
    {"mapper-ascii16", "5mappers.rom", "", 200, "", "", 0x7d0cabe1e4729135, 0},
    // Our six sprites on one line and the OR of S#0 over three frames: C with collision
    // checks (BF), 5S and sprite 4 with the limit (C4), also while the picture is off.
    {"sprite-status", "0sprite_status.rom", "", 250, "", "", 0x21c6a3b1711f3a25, 0},
    {"sprite-status-limit", "0sprite_status.rom", kLimitOnly, 250, "", "", 0x3811b67247f5372d, 0},
    {"sprite-status-picture-off", "0sprite_status.rom", kLimitOnly, 250, "--key 60:57 --key 200:57", "", 0x3811b67247f5372d, 0},
    // Then SCREEN 5 sprites with a colour per line, R#5 written with its forced bit clear.
    {"sprite-mode-2-tables", "0sprite_status.rom", "", 400, "", "", 0xab1efdf019802be1, 0},
    // Our cartridge showing every key the matrix ever held: A typed (row 2 BF); F6 then 1
    // and F7 then Escape, held for ten frames, choose a disk or cancel and never reach it.
    {"keys-and-selections", "0keys.rom", "", 400, "--key 200:1e --key 250:40 --key 252:02:10 --key 300:41 --key 302:01:10",
     "", 0x6ac6b572b13d53f5, 0, true},
    // Our score for the PSG's tone, noise and envelope and the OPLL's notes and drums.
    {"sounds", "0sounds.rom", "", 320, "", "", 0x274320ba7881ec4d, 0xc5f57492fec17fa3, false, 0x0f8f8eabf57fcb59},
};

uint64_t fnv1a(const std::string& bytes) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001B3u;
    return hash;
}

class GoldenRunTest : public MachineDirectoryTest, public ::testing::WithParamInterface<GoldenRun> {
protected:
    // Prepares the run's directory; false when its cartridge is absent.
    bool prepare(const GoldenRun& run, const fs::path& dir) {
        const std::string cart = run.cart;
        if (!cart.empty() && !fs::exists(imageOf(cart))) return false;
        if (run.disk) writeDisk(dir);
        if (run.fmBIOS) fs::copy_file(kPrograms / "fmbios_stub.rom", dir / "FMBIOS.rom", fs::copy_options::overwrite_existing);
        if (run.midiHash != 0) fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "opll.cfg", dir / "opll.cfg");
        writeTextFile(dir / "msx.cfg",
                      readTextFile(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg") + run.settings);
        if (!cart.empty()) {
            fs::copy_file(imageOf(cart), dir / cart.substr(1));
            writeTextFile(dir / "cart.drc", cart + "\n");
        }
        return true;
    }
    void keepOnMismatch(const GoldenRun& run, const std::string& what, const std::string& bytes,
                        uint64_t expected, const char* extension) {
        const uint64_t hash = fnv1a(bytes);
        if (hash == expected) return;
        const fs::path kept = fs::path(TAVIR_HEADLESS).parent_path().parent_path() /
                              (std::string("golden-") + run.name + extension);
        writeTextFile(kept, bytes);
        ADD_FAILURE() << run.name << ": " << what << " hash 0x" << std::hex << hash
                      << " (recorded 0x" << expected << "), see " << kept;
    }
};

TEST_P(GoldenRunTest, ShowsAndPlaysWhatWasRecorded) {
    const GoldenRun& run = GetParam();
    const fs::path dir = directory_.path();
    if (!prepare(run, dir)) GTEST_SKIP() << "no " << imageOf(run.cart);
    const std::string command = std::string("timeout 120 ") + TAVIR_HEADLESS + " --dir " + dir.string() +
                                " --unpaced --frames " + std::to_string(run.frames) + " " + run.keys +
                                " --screenshot " + (dir / "last.bmp").string() + " --audio " +
                                (dir / "sound.wav").string() +
                                (run.midiHash ? " --midi " + (dir / "music.mid").string() : "") + " >/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    const fs::path picture = dir / (*run.picture ? run.picture : "last.bmp");
    EXPECT_TRUE(fs::exists(picture)) << run.name << ": no " << picture;
    keepOnMismatch(run, "picture", readTextFile(picture), run.pictureHash, ".bmp");
    // The screenshot key held for two frames is one press: one file.
    if (*run.picture) {
        EXPECT_FALSE(fs::exists(dir / "TAVIR001.bmp")) << run.name;
    }
    if (run.soundHash != 0) keepOnMismatch(run, "sound", readTextFile(dir / "sound.wav"), run.soundHash, ".wav");
    if (run.midiHash != 0) keepOnMismatch(run, "MIDI", readTextFile(dir / "music.mid"), run.midiHash, ".mid");
}

// A snapshot saved while the YJK picture is being written to VRAM, loaded by a fresh run,
// must go on to the very picture of the run that never stopped.
TEST_F(GoldenRunTest, ASnapshotSavedMidDrawingResumesToTheSamePicture) {
    const GoldenRun& yjk = *std::find_if(std::begin(kRuns), std::end(kRuns),
                                         [](const GoldenRun& run) { return std::string(run.name) == "yjk"; });
    const fs::path dir = directory_.path();
    if (!prepare(yjk, dir)) GTEST_SKIP() << "no " << imageOf(yjk.cart);
    const std::string headless =
        std::string("timeout 120 ") + TAVIR_HEADLESS + " --dir " + dir.string() + " --unpaced ";
    ASSERT_EQ(std::system((headless + "--frames 260 --save-state 1 >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((headless + "--load-state 1 --frames " + std::to_string(yjk.frames - 260) +
                           " --screenshot " + (dir / "last.bmp").string() + " >/dev/null")
                              .c_str()),
              0);
    keepOnMismatch(yjk, "resumed picture", readTextFile(dir / "last.bmp"), yjk.pictureHash, ".bmp");
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenRunTest, ::testing::ValuesIn(kRuns), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace tavir::testing
