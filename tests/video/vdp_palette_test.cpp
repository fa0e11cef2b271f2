// The palette as the renderers see it: levels converted to RGB565 once per write, and
// colour 0 drawn as the backdrop colour while R#8 TP is clear.
#include <gtest/gtest.h>

#include "video/vdp_fixture.h"
#include "video/vdp_registers.h"

namespace tavir::testing {
namespace {

using VDPPaletteTest = VDPTest;

// First byte 0RRR0BBB, second 00000GGG; R#16 moves on and wraps after entry 15.
TEST_F(VDPPaletteTest, PaletteBytesSetTheEntryR16PointsAtAndMoveToTheNext) {
    setRegister(16, 14);
    const uint8_t bytes[] = {0x70, 0x07, 0x07, 0x00, 0x70, 0x00, 0x00, 0x07};
    for (uint8_t b : bytes) writeVDPPalette(b);  // yellow, blue, red, green
    EXPECT_EQ(vdp.drawPalette[14], kRed | kGreen);
    EXPECT_EQ(vdp.drawPalette[15], kBlue);
    EXPECT_EQ(vdp.trueColour0, kRed);
    EXPECT_EQ(vdp.drawPalette[1], kGreen);
    EXPECT_EQ(vdp.drawPalette2[1], 0x07E007E0u);
    EXPECT_EQ(vdp.vdpRegister[16], 2);

    setRegister(16, 2);
    writeVDPPalette(0x07);  // first byte only: writing R#16 restarts the pair
    setRegister(16, 3);
    writeVDPPalette(0x77);
    writeVDPPalette(0x07);
    EXPECT_EQ(vdp.drawPalette[3], kWhite);
    EXPECT_EQ(vdp.drawPalette[2], 0);
}

TEST_F(VDPPaletteTest, ColourZeroDrawsAsTheBackdropUntilTPIsSet) {
    setColour(0, 7, 0, 0);  // entry 0 red
    setColour(4, 0, 0, 7);  // entry 4 blue
    setColour(9, 0, 7, 0);
    setRegister(7, 0xF4);  // the foreground nibble plays no part
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
    EXPECT_EQ(vdp.drawPalette2[0], 0x001F001Fu);
    setColour(4, 7, 7, 7);
    EXPECT_EQ(vdp.drawPalette[0], kWhite);
    setRegister(7, 0x09);
    EXPECT_EQ(vdp.drawPalette[0], kGreen);
    setRegister(7, 0x00);  // backdrop 0: colour 0's own colour
    EXPECT_EQ(vdp.drawPalette[0], kRed);

    setRegister(7, 0x09);
    setColour(0, 0, 0, 7);  // kept behind the backdrop
    EXPECT_EQ(vdp.drawPalette[0], kGreen);
    setRegister(8, kR8Transparent);
    EXPECT_EQ(vdp.drawPalette[0], kBlue);
    EXPECT_EQ(vdp.drawPalette2[0], 0x001F001Fu);
    setColour(0, 7, 0, 0);  // with TP set entry 0 changes at once
    EXPECT_EQ(vdp.drawPalette[0], kRed);
    setRegister(8, 0);
    EXPECT_EQ(vdp.drawPalette[0], kGreen);
}

}  // namespace
}  // namespace tavir::testing
