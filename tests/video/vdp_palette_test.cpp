// Colour 0 drawn as the backdrop colour while R#8 TP is clear, and as its own entry once
// TP is set (the golden runs show the palette writes themselves).
#include <gtest/gtest.h>

#include "video/vdp_fixture.h"
#include "video/vdp_registers.h"

namespace tavir::testing {
namespace {

using VDPPaletteTest = VDPTest;

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
