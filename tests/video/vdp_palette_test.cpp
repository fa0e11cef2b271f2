// The palette as the renderers see it: levels converted to RGB565 once per write, and
// colour 0 drawn as the backdrop colour while R#8 TP is clear.
#include <gtest/gtest.h>

#include "video/vdp_fixture.h"
#include "video/vdp_registers.h"

namespace tavir::testing {
namespace {

using VDPPaletteTest = VDPTest;

// Level i = trunc(i x mask / 7) AND mask, worked out for the RGB565 masks.
TEST_F(VDPPaletteTest, LevelTablesTruncateEachPrimaryToItsMask) {
    EXPECT_EQ(vdp.redLevels[0], 0x0000);
    EXPECT_EQ(vdp.redLevels[1], 0x2000);  // 63488 / 7 = 9069 = 0x236D
    EXPECT_EQ(vdp.redLevels[3], 0x6800);  // 27209 = 0x6A49
    EXPECT_EQ(vdp.redLevels[7], kRed);
    EXPECT_EQ(vdp.greenLevels[1], 0x0120);  // 2016 / 7 = 288
    EXPECT_EQ(vdp.greenLevels[7], kGreen);
    EXPECT_EQ(vdp.blueLevels[1], 0x0004);  // 31 / 7 = 4.4
    EXPECT_EQ(vdp.blueLevels[6], 0x001A);  // 186 / 7 = 26.6
    EXPECT_EQ(vdp.blueLevels[7], kBlue);
}

// First byte 0RRR0BBB, second 00000GGG.
TEST_F(VDPPaletteTest, PaletteBytesSetTheEntryR16PointsAtAndMoveToTheNext) {
    setRegister(16, 4);
    writeVDPPalette(0x70);
    writeVDPPalette(0x07);
    EXPECT_EQ(vdp.drawPalette[4], kRed | kGreen);  // no blue: yellow
    writeVDPPalette(0x77);
    writeVDPPalette(0x07);
    EXPECT_EQ(vdp.drawPalette[5], kWhite);
    EXPECT_EQ(vdp.drawPalette2[5], 0xFFFFFFFFu);
    EXPECT_EQ(vdp.vdpRegister[16], 6);

    writeVDPPalette(0x70);  // red, no blue
    writeVDPPalette(0x00);
    writeVDPPalette(0x07);  // blue
    writeVDPPalette(0x00);
    writeVDPPalette(0x00);
    writeVDPPalette(0x07);  // green
    EXPECT_EQ(vdp.drawPalette[6], kRed);
    EXPECT_EQ(vdp.drawPalette[7], kBlue);
    EXPECT_EQ(vdp.drawPalette[8], kGreen);
    EXPECT_EQ(vdp.drawPalette2[8], 0x07E007E0u);
}

TEST_F(VDPPaletteTest, PaletteIndexWrapsAfterEntry15) {
    setRegister(16, 15);
    writeVDPPalette(0x07);
    writeVDPPalette(0x00);
    writeVDPPalette(0x70);
    writeVDPPalette(0x00);
    EXPECT_EQ(vdp.drawPalette[15], kBlue);
    EXPECT_EQ(vdp.vdpRegister[16], 1);
}

TEST_F(VDPPaletteTest, WritingR16RestartsAHalfWrittenPalettePair) {
    setRegister(16, 2);
    writeVDPPalette(0x07);  // first byte only
    setRegister(16, 3);
    writeVDPPalette(0x77);
    writeVDPPalette(0x07);
    EXPECT_EQ(vdp.drawPalette[3], kWhite);
    EXPECT_EQ(vdp.drawPalette[2], 0);
}

TEST_F(VDPPaletteTest, ColourZeroDrawsAsTheBackdropUntilTPIsSet) {
    setColour(0, 7, 0, 0);  // entry 0 red
    setColour(4, 0, 0, 7);  // entry 4 blue
    setRegister(7, 0x04);
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
    EXPECT_EQ(vdp.drawPalette2[0], 0x001F001Fu);

    setRegister(8, kR8Transparent);
    EXPECT_EQ(vdp.drawPalette[0], kRed);
    EXPECT_EQ(vdp.drawPalette2[0], 0xF800F800u);
    setRegister(8, 0);
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
}

TEST_F(VDPPaletteTest, BackdropFollowsChangesOfR7AndOfTheBackdropEntry) {
    setColour(0, 7, 0, 0);
    setColour(4, 0, 0, 7);
    setColour(9, 0, 7, 0);
    setRegister(7, 0xF4);  // the foreground nibble plays no part
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
    setColour(4, 7, 7, 7);
    EXPECT_EQ(vdp.drawPalette[0], kWhite);
    setRegister(7, 0x09);
    EXPECT_EQ(vdp.drawPalette[0], kGreen);
    setRegister(7, 0x00);  // backdrop 0: colour 0's own colour
    EXPECT_EQ(vdp.drawPalette[0], kRed);
}

TEST_F(VDPPaletteTest, NewColourZeroIsKeptBehindTheBackdropAndShowsWithTP) {
    setColour(4, 0, 0, 7);
    setRegister(7, 0x04);
    setColour(0, 0, 7, 0);
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
    EXPECT_EQ(vdp.trueColour0, kGreen);
    EXPECT_EQ(vdp.trueColour02, 0x07E007E0u);
    setRegister(8, kR8Transparent);
    EXPECT_EQ(vdp.drawPalette[0], kGreen);
    setColour(0, 7, 0, 0);  // with TP set entry 0 changes at once
    EXPECT_EQ(vdp.drawPalette[0], kRed);
}

// Each primary is the mean of the two, rounded down, and never borrows from its neighbour:
// in RGB565 red F800 with blue 1F gives 7800 + F; 0x0821 (the lowest bit of each) with 0
// gives 0. In RGB555 green 3E0 with green 20 gives (1F + 1) / 2 = 10 -> 0x200.
TEST_F(VDPPaletteTest, ColourMergeRoundsEachPrimaryDownOnItsOwn) {
    EXPECT_EQ(mergeColours(kRed, kBlue), 0x780F);
    EXPECT_EQ(mergeColours(0x0821, 0x0000), 0x0000);
    EXPECT_EQ(mergeColours(0x0821, 0x0821), 0x0821);
    EXPECT_EQ(mergeColours(kWhite, kBlack), 0x7BEF);
    buildColourLevels(0x7C00, 0x03E0, 0x001F);
    EXPECT_EQ(mergeColours(0x03E0, 0x0020), 0x0200);
    EXPECT_EQ(mergeColours(0xFFFF, 0x0000), 0x3DEF);  // bit 15 is no colour
    buildColourLevels(kRedMask565, kGreenMask565, kBlueMask565);
}

}  // namespace
}  // namespace tavir::testing
