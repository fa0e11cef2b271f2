#include "memory/kanji_rom.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/machine.h"
#include "core/log.h"
#include "memory/io_ports.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

// A font whose every byte depends on all 18 bits of its offset (a multiplicative hash), so a
// read from the wrong level or a lost address bit shows up in the bytes.
uint8_t fontByte(uint32_t offset) {
    return static_cast<uint8_t>((offset * 0x9E3779B1u) >> 24);
}

// The machine started with that font as "KANJI.rom".
class KanjiROMTest : public testing::MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        if (IsSkipped()) return;
        std::vector<uint8_t> font(kKanjiROMSize);
        for (uint32_t i = 0; i < font.size(); ++i) font[i] = fontByte(i);
        testing::writeFile(directory_.path() / kKanjiROMFileName, font);
        ASSERT_TRUE(openLog());
        ASSERT_TRUE(initMSX());
    }
    void TearDown() override { shutdownMSX(); }
};

TEST_F(KanjiROMTest, ReadsWalkThroughOneCharacterAndWrapToItsStart) {
    outPort(0xD8, 0x01);
    outPort(0xD9, 0x00);  // character 1: offsets 0x20-0x3F
    for (uint32_t i = 0; i < 32; ++i) EXPECT_EQ(inPort(0xD9), fontByte(0x20 + i)) << "read " << i;
    EXPECT_EQ(inPort(0xD9), fontByte(0x20)) << "the 33rd read starts the pattern again";
}

TEST_F(KanjiROMTest, SecondLevelReadsTheUpperHalfUpToTheLastByte) {
    outPort(0xD9, 0x3F);
    outPort(0xD8, 0x3F);
    for (uint32_t i = 0; i < 32; ++i)
        EXPECT_EQ(inPort(0xDB), fontByte(0x3FFE0 + i)) << "read " << i;
}

}  // namespace
}  // namespace tavir
