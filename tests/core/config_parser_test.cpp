// The configuration line syntax and the hex value parser, through real msx.cfg and
// opll.cfg files.
#include <gtest/gtest.h>

#include <string>

#include "core/config_parser.h"
#include "core/opll_settings.h"
#include "core/settings.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

std::vector<int> parseAll(std::string_view entry) {
    std::vector<int> values;
    size_t position = 0;
    uint8_t value;
    while (parseHexByte(entry, position, value)) values.push_back(value);
    return values;
}

TEST(ParseHexByte, TwoCharactersPerValue) {
    EXPECT_EQ(parseAll(" 1"), (std::vector<int>{0x10})) << "cut by the end: low nibble 0";
    EXPECT_EQ(parseAll(" 7f"), (std::vector<int>{0x7F}));
    EXPECT_EQ(parseAll(" 7 "), (std::vector<int>{0x70})) << "a blank as the second character";
    EXPECT_EQ(parseAll(" 0x1F"), (std::vector<int>{0x00, 0x1F}));
    EXPECT_EQ(parseAll(" = 0 f0"), (std::vector<int>{0x00, 0xF0}));
    EXPECT_EQ(parseAll(" = 0f0"), (std::vector<int>{0x0F, 0x00}));
    EXPECT_EQ(parseAll("AbCd"), (std::vector<int>{0xAB, 0xCD}));
    EXPECT_EQ(parseAll(" = zz"), (std::vector<int>{})) << "no digit: no value";
}

class MachineSettingsTest : public ::testing::Test {
protected:
    Settings read(const std::string& text) {
        testing::writeTextFile(directory_.path() / "msx.cfg", text);
        Settings result;
        EXPECT_TRUE(readMachineSettings(result));
        readSoundSettings(result);
        return result;
    }
    testing::TemporaryWorkingDirectory directory_;
};

TEST_F(MachineSettingsTest, EntriesStartAtAFullStop) {
    EXPECT_EQ(read("MSXSpeed = 00 f0\n").MSXSpeed, 0) << "no full stop: a comment";
    EXPECT_EQ(read("x.MSXSpeed = 00 f0\n").MSXSpeed, 240);
    EXPECT_EQ(read(".MSXSpeed = 0 f0\n").MSXSpeed, 240);
    EXPECT_EQ(read(".MSXSpeed = 0f0\n").MSXSpeed, 3840);
    EXPECT_EQ(read("comment\nmore comment\n.MSXSpeed = 00 e4").MSXSpeed, 228)
        << "the last line needs no newline";
}

TEST_F(MachineSettingsTest, KeysMatchByTheirOwnLengthAndTheLaterLineWins) {
    const Settings s = read(".KeyMap0xyz = 01 02 03 04 05 06 07 08\n"
                            ".Joypad1 = 01\n.Joypad1 = 02\n");
    EXPECT_EQ(s.KeyMap[0][7], 0x01) << "the first value drives bit 7";
    EXPECT_EQ(s.KeyMap[0][0], 0x08);
    EXPECT_EQ(s.Joypad1, 0x02);
}

TEST_F(MachineSettingsTest, ValuesMissingAtTheEndOfAnEntryKeepTheirDefaults) {
    const Settings s = read(".KeyMap1 = 1c\n.CommandKey = 01 02\n.MSXSpeed = 01\n");
    EXPECT_EQ(s.KeyMap[1][7], 0x1C);
    for (int bit = 0; bit < 7; ++bit) EXPECT_EQ(s.KeyMap[1][bit], 0) << bit;
    EXPECT_EQ(s.CommandKey[0], 0x01);
    EXPECT_EQ(s.CommandKey[1], 0x02);
    EXPECT_EQ(s.CommandKey[2], 0x41) << "not read past the entry into the next line";
    EXPECT_EQ(s.MSXSpeed, 0) << "half a 16-bit value keeps the default";
}

TEST_F(MachineSettingsTest, OverlongLinesAreCutAtTheEntryLimit) {
    std::string line = ".KeyMap2 =";
    while (line.size() < 400) line += " 11";
    const Settings s = read(line + "\n.MSXSpeed = 00 e4\n");
    EXPECT_EQ(s.KeyMap[2][0], 0x11);
    EXPECT_EQ(s.MSXSpeed, 228);
}

TEST(OPLLSettings, KeysAndInitDataMessages) {
    testing::TemporaryWorkingDirectory directory;
    testing::writeTextFile("opll.cfg",
                           ".DeviceNumber = ff\n.NoteOFS = fe 02\n.PNoteNumber = 2a 31 2d 26 24\n"
                           ".InitData 03 f0 7e 7f\n.InitData 20 01 02\n"
                           ".InitData 12 000102030405060708090a0b0c0d0e0f1011\n");
    OPLLSettings s;
    ASSERT_TRUE(readOPLLSettings(s));
    EXPECT_EQ(s.NoteOFS[0], 0xFE);  // the other keys: the OPLL tests' opll.cfg
    const auto messages = readOPLLInitData();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], (std::vector<uint8_t>{0xF0, 0x7E, 0x7F}));
    EXPECT_EQ(messages[1], (std::vector<uint8_t>{0x01, 0x02}))
        << "a count beyond the bytes present keeps only what is there";
    EXPECT_EQ(messages[2].size(), 18u) << "longer than sixteen bytes: sent whole";
}

}  // namespace
}  // namespace tavir
