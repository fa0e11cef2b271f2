// The OPLL translation as a MIDI device receives it: register writes through ports
// 0x7C/0x7D, the recorder's bytes compared with messages worked out by hand.
#include "sound/opll.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/log.h"
#include "core/opll_settings.h"
#include "host/dik_codes.h"
#include "host/key_state.h"
#include "host/midi_output.h"
#include "host/midi_recorder.h"
#include "memory/io_ports.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

using Writes = std::vector<std::pair<uint8_t, uint8_t>>;

// Programs 0-15 in order, every TVolume 127; drums at the General MIDI notes, the bass
// drum's PVolume 100 and the others' 80.
const char* const kTestConfig =
    ".DeviceNumber = 00\n"
    ".ProgramNumber = 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f\n"
    ".TVolume = 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f 7f\n"
    ".PNoteNumber = 2a 31 2d 26 24\n"
    ".PVolume = 50 50 50 50 64\n";

void write(const Writes& writes) {
    for (auto [index, value] : writes) {
        outPort(0x7C, index);
        outPort(0x7D, value);
    }
}

class OPLLTranslationTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeTextFile("opll.cfg", kTestConfig);
        ASSERT_TRUE(openLog());
        midiRecorderOnly = true;
        ASSERT_TRUE(initOPLL());
        startMIDIRecording();
    }
    void TearDown() override {
        stopMIDIRecording();
        closeOPLL();
        midiRecorderOnly = false;
        closeLog();
    }

    // The messages recorded since the last call, as hex, one space between messages.
    static std::string takeMessages() {
        std::string text;
        for (const RecordedMIDIMessage& m : midiRecording.messages) {
            if (!text.empty()) text += ' ';
            for (int i = 0; i < m.length; ++i) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02x", midiRecording.bytes[m.offset + i]);
                text += hex;
            }
        }
        startMIDIRecording();
        return text;
    }

    testing::TemporaryWorkingDirectory directory_;
};

TEST_F(OPLLTranslationTest, RegisterWritesBecomeTheseMessages) {
    const Writes keyOn = {{0x10, 0xAB}, {0x20, 0x18}};  // F-number 171, block 4, key on
    const struct {
        const char* what;
        Writes setUp, writes;
        const char* messages;
    } cases[] = {
        // 12 log2(171 / 9) + 48 - 39 = 59.975: note 59, bend 8192 + 0.975 x 8192 / 12 = 8857.
        {"key on", {}, keyOn, "e01945 903b7f"},
        {"a second key on", keyOn, {{0x20, 0x38}}, ""},  // only the sustain bit changes
        {"the same value again", {}, {{0x30, 0x35}, {0x30, 0x35}}, "b00b24"},  // 127 x 2 / 7
        {"volume 8 is silent", {}, {{0x30, 0x38}}, "b00b00"},
        {"instrument change and key off",
         keyOn,
         {{0x30, 0x50}, {0x20, 0x08}},
         "803b00 c005 b00b7f 803b00"},
        // Block 5 under a held key: 71.975 is more than an octave away, a new note.
        {"block change under the key", keyOn, {{0x20, 0x1A}}, "e01945 b0543b 90477f"},
        // F-number 0 plays as 1: -77.04 gives bend 8192 - 26 = 8166 and note 0.
        {"F-number 0", {}, {{0x20, 0x10}}, "e0663f 90007f"},
        // HH at volume 2: 80 x 9 / 11 = 65; BD at volume 3: 100 x 8 / 11 = 72.
        {"rhythm keys",
         {{0x37, 0x20}, {0x36, 0x03}, {0x0E, 0x20}},
         {{0x0E, 0x31}},
         "992a41 992448"},
        {"bass drum re-strike", {{0x0E, 0x20}, {0x0E, 0x30}}, {{0x36, 0x05}}, "892400 992436"},
        {"0x37 strikes only SD and HH",
         {{0x0E, 0x3F}},
         {{0x37, 0x11}},
         "892600 992648 892a00 992a48"},
        {"channels 6-8 in rhythm mode", {{0x0E, 0x20}}, {{0x16, 0x55}, {0x26, 0x10}}, ""},
        {"user instrument registers", {}, {{0x00, 0x21}, {0x07, 0xFF}}, ""},
    };
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        write(c.setUp);
        takeMessages();
        write(c.writes);
        EXPECT_EQ(takeMessages(), c.messages) << c.what;
    }
}

// After a command (All Sound Off before it is seen in the batch runner's MIDI file).
TEST_F(OPLLTranslationTest, ChannelsAreRestoredFromTheRegisters) {
    write({{0x30, 0x52}, {0x31, 0x19}});
    takeMessages();
    restoreChannels();
    // Instrument 5 at volume 2 (127 x 5 / 7 = 90), 1 at volume 9, the rest 0 at 0.
    EXPECT_EQ(takeMessages(),
              "c005 b00b5a c101 b10b00 c200 b20b7f c300 b30b7f c400 b40b7f c500 b50b7f c600 "
              "b60b7f c700 b70b7f c800 b80b7f");
}

TEST_F(OPLLTranslationTest, KeypadDigitsToggleAChannelOncePerPress) {
    using dik::kNumpad0, dik::kNumpad1, dik::kNumpad2, dik::kNumpad9;
    // Held: once. A second key while one is held: nothing. Keypad 0 (the drums) first.
    const struct {
        std::vector<uint8_t> keysDown;
        const char* messages;
    } frames[] = {
        {{kNumpad1}, "b00700"}, {{kNumpad1}, ""}, {{kNumpad1, kNumpad2}, ""}, {{}, ""},
        {{kNumpad1}, "b0077f"}, {{}, ""},         {{kNumpad9, kNumpad0}, "b90700 b80700"}};
    int frame = 0;
    for (const auto& f : frames) {
        std::memset(keyState, 0, sizeof keyState);
        for (uint8_t key : f.keysDown) keyState[key] = kKeyDown;
        numpadChannelMute();
        EXPECT_EQ(takeMessages(), f.messages) << "frame " << frame++;
    }
    std::memset(keyState, 0, sizeof keyState);
}

TEST(OPLLStartUp, DeviceChoicesAndAMissingFile) {
    testing::TemporaryWorkingDirectory directory;
    ASSERT_TRUE(openLog());
    // No opll.cfg: the shipped file's mapping, and its General MIDI reset.
    midiRecorderOnly = true;
    startMIDIRecording();
    EXPECT_TRUE(initOPLL());
    OPLLSettings shipped;
    ASSERT_TRUE(readOPLLSettings(shipped, TAVIR_CONFIG_DIR "/opll.cfg"));
    EXPECT_EQ(std::memcmp(&shipped, &opllSettings, sizeof shipped), 0);
    const std::vector<uint8_t> firstMessage(midiRecording.bytes.begin(),
                                            midiRecording.bytes.begin() + 6);
    EXPECT_EQ(readOPLLInitData(TAVIR_CONFIG_DIR "/opll.cfg").at(0), firstMessage);
    closeOPLL();
    midiRecorderOnly = false;

    // 0xFF: the data port changes nothing, not even the register image.
    testing::writeTextFile("opll.cfg", ".DeviceNumber = ff\n");
    EXPECT_FALSE(initOPLL());
    write({{0x10, 0x42}});
    EXPECT_EQ(opll.opllRegisters[0x10], 0);
    // A port that isn't there: RtMidi's complaint ends at the seam.
    testing::writeTextFile("opll.cfg", ".DeviceNumber = fe\n");
    EXPECT_FALSE(initOPLL());
    closeLog();
    const std::string log = testing::readTextFile(directory.path() / kLogFileName);
    EXPECT_EQ(log.find("opll.cfg not found"), 0u) << log;
    EXPECT_EQ(log.substr(log.size() - 20), "midiOutOpen Failed.\n");
}

}  // namespace
}  // namespace tavir
