// What a listener hears from the PSG, measured in the WAV file tavir-headless writes: a
// cartridge that sets PSG registers and then spins, run on C-BIOS. The mix puts full
// volume (level 15) at 127/128 of full scale, 20 dB down with the shipped attenuation:
// 32512 / 10 = 3251.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "support/machine_fixture.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using Registers = std::vector<std::pair<uint8_t, uint8_t>>;
constexpr int kFrame = 735;

class PSGSoundTest : public testing::MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        fs::copy_file(fs::path(TAVIR_CONFIG_DIR) / "msx.cfg", directory_.path() / "msx.cfg");
    }
    // DI, then OUT (0xA0),reg / OUT (0xA1),value for each pair, then JR to itself.
    void insertCartridge(const Registers& registers) {
        std::vector<uint8_t> rom(0x4000, 0xFF);
        std::vector<uint8_t> code = {'A', 'B', 0x10, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF3};
        for (auto [index, value] : registers)
            code.insert(code.end(), {0x3E, index, 0xD3, 0xA0, 0x3E, value, 0xD3, 0xA1});
        code.insert(code.end(), {0x18, 0xFE});
        std::copy(code.begin(), code.end(), rom.begin());
        testing::writeFile(directory_.path() / "psg.rom", rom);
        testing::writeTextFile(directory_.path() / "cart.drc", "0psg.rom\n");
    }
    // The samples of a run, after checking the header says 44100 Hz mono 16-bit PCM.
    std::vector<int16_t> play(const std::string& arguments) {
        const fs::path wav = directory_.path() / "out.wav";
        const std::string command = std::string(TAVIR_HEADLESS) + " --dir " +
                                    directory_.path().string() + " --unpaced --audio " +
                                    wav.string() + " " + arguments + " >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        const std::string bytes = testing::readTextFile(wav);
        const std::string header("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x44\xAC\0\0\x88\x58\1\0\2\0\x10\0data", 40);
        if (bytes.size() < 44 || bytes.compare(8, 32, header, 8, 32) != 0) {
            ADD_FAILURE() << "not a 44100 Hz mono 16-bit WAV";
            return {};
        }
        std::vector<int16_t> samples((bytes.size() - 44) / 2);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<int16_t>(uint8_t(bytes[44 + 2 * i]) | bytes[45 + 2 * i] << 8);
        return samples;
    }
};

std::vector<int16_t> lastFrames(const std::vector<int16_t>& samples, int frames) {
    return {samples.end() - std::min<size_t>(samples.size(), size_t(frames) * kFrame), samples.end()};
}

// Upward zero crossings per second.
double frequency(const std::vector<int16_t>& s) {
    std::vector<size_t> up;
    for (size_t i = 1; i < s.size(); ++i)
        if (s[i - 1] < 0 && s[i] >= 0) up.push_back(i);
    return up.size() < 2 ? 0 : (up.size() - 1) * 44100.0 / double(up.back() - up.front());
}

// The different lengths of the stretches between sign changes.
size_t halfWaveLengths(const std::vector<int16_t>& s) {
    std::set<size_t> lengths;
    for (size_t i = 1, start = 0; i < s.size(); ++i)
        if ((s[i] < 0) != (s[i - 1] < 0)) lengths.insert(i - std::exchange(start, i));
    return lengths.size();
}

const Registers kToneA = {{0, 0xFE}, {1, 0x01}, {7, 0xBE}, {8, 0x0F}};

TEST_F(PSGSoundTest, ToneOfPeriod510IsAt219HertzAndFullVolume) {
    insertCartridge(kToneA);
    const std::vector<int16_t> s = lastFrames(play("--frames 400"), 120);
    EXPECT_NEAR(frequency(s), 1789772.5 / 16 / 510, 0.1);  // the chip's clock over 16 x period
    EXPECT_NEAR(*std::max_element(s.begin(), s.end()), 3251, 1);
    EXPECT_NEAR(*std::min_element(s.begin(), s.end()), -3251, 1);
}

TEST_F(PSGSoundTest, MixerAndVolumeSwitchToneAndNoiseAsWritten) {
    struct Case {
        uint8_t mixer, volume;
        size_t levels, fewestLengths, mostLengths;
    } cases[] = {
        {0xBE, 0x0F, 2, 1, 3},    // tone A alone: a square wave of 100/101-sample halves
        {0xB7, 0x0F, 2, 20, 34},  // noise A alone: half-waves of 1 to 33 samples at R6 = 31
        {0xB6, 0x0F, 4, 1, 3},    // both add up: the louder tone keeps the sign
        {0xBF, 0x0F, 1, 0, 0},    // both off
        {0xBE, 0x00, 1, 0, 0},    // level 0
    };
    for (const Case& c : cases) {
        insertCartridge({{0, 0xFE}, {1, 0x01}, {6, 0x1F}, {7, c.mixer}, {8, c.volume}});
        const std::vector<int16_t> s = lastFrames(play("--frames 400"), 60);
        const std::set<int16_t> levels(s.begin(), s.end());
        EXPECT_EQ(levels.size(), c.levels) << std::hex << int(c.mixer) << " " << int(c.volume);
        EXPECT_GE(halfWaveLengths(s), c.fewestLengths) << std::hex << int(c.mixer);
        EXPECT_LE(halfWaveLengths(s), c.mostLengths) << std::hex << int(c.mixer);
        if (c.levels == 1) {
            EXPECT_EQ(*levels.begin(), 0);
        }
    }
}

TEST_F(PSGSoundTest, TriangleEnvelopeRisesAndFallsEveryFortyFrames) {
    // Envelope period 0x6251 makes a ramp of 60 ticks; three ticks a frame.
    insertCartridge({{0, 0xFE}, {1, 0x01}, {7, 0xBE}, {8, 0x10}, {11, 0x51}, {12, 0x62}, {13, 0x0E}});
    const std::vector<int16_t> s = lastFrames(play("--frames 400"), 160);
    // Each frame's level, from its middle: what a frame writes starts a few samples before
    // the next frame begins.
    std::vector<int> peak;
    for (size_t f = 0; f + kFrame <= s.size(); f += kFrame) peak.push_back(std::abs(s[f + kFrame / 2]));
    const auto top = size_t(std::max_element(peak.begin(), peak.begin() + 40) - peak.begin());
    EXPECT_GT(peak[top], 3000);
    for (size_t f = top + 1; f < top + 20; ++f) EXPECT_LT(peak[f], peak[f - 1]) << f;
    for (size_t f = top + 21; f < top + 40; ++f) EXPECT_GT(peak[f], peak[f - 1]) << f;
    EXPECT_LT(peak[top + 20], 300);
    for (size_t f = 40; f < peak.size(); ++f) EXPECT_NEAR(peak[f], peak[f - 40], 1) << f;
}

TEST_F(PSGSoundTest, UsePSGZeroIsSilentFromFirstFrameToLast) {
    insertCartridge(kToneA);
    testing::writeTextFile(directory_.path() / "msx.cfg",
                           testing::readTextFile(directory_.path() / "msx.cfg") + ".UsePSG = 00\n");
    const std::vector<int16_t> s = play("--frames 300");
    EXPECT_EQ(s.size(), 300u * kFrame);
    EXPECT_EQ(std::count(s.begin(), s.end(), 0), std::ssize(s));
}

const fs::path kROMs = fs::path(TAVIR_SHARED_DIR) / "acceptance/roms";

TEST_F(PSGSoundTest, SuiteSoundTestPlaysItsKilohertzTone) {
    if (!fs::exists(kROMs / "suitemsx_240p.rom")) GTEST_SKIP() << "no acceptance cartridges";
    fs::copy_file(kROMs / "suitemsx_240p.rom", directory_.path() / "suite.rom");
    testing::writeTextFile(directory_.path() / "cart.drc", "2suite.rom\n");
    // Past the logo: cursor down twice to "Audio Tests", space, space on "Sound Test".
    const std::vector<int16_t> s =
        lastFrames(play("--frames 900 --key 600:D0:4 --key 630:D0:4 --key 660:39:4 --key 700:39:4"), 120);
    EXPECT_NEAR(frequency(s), 3579545.0 / 32 / 112, 0.5);  // tone period 112
}

}  // namespace
}  // namespace tavir
