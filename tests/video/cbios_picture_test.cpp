// C-BIOS started with no cartridge draws its message screen. The test reads the text back
// from the name table in VRAM, then checks every character cell of the picture against
// the font pattern and colours in VRAM: a broken port, renderer or palette shows here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "core/run_loop.h"
#include "host/headless_host.h"
#include "support/headless_machine.h"
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

struct TextScreen {
    int columns;
    int dotsPerCharacter;
    uint32_t nameTable;
    uint32_t patternTable;
};

TextScreen textScreen() {
    const uint8_t* r = vdp.vdpRegister;
    if (vdp.screenMode == kText1) return {40, 6, (r[2] & 0x7Fu) << 10, (r[4] & 0x3Fu) << 11};
    return {32, 8, (r[2] & 0x7Fu) << 10, (r[4] & 0x3Fu) << 11};
}

// The two colours of a character: Text 1 has one pair for the screen, Graphic 1 one pair
// for every eight characters.
void characterColours(uint8_t character, uint16_t& foreground, uint16_t& background) {
    uint8_t colours = vdp.vdpRegister[7];
    if (vdp.screenMode == kGraphic1) {
        const uint32_t colourTable = (vdp.vdpRegister[10] & 7u) << 14 | vdp.vdpRegister[3] << 6;
        colours = vdp.vram[(colourTable + character / 8) & kVRAMMask];
    }
    foreground = vdp.drawPalette[colours >> 4];
    background = vdp.drawPalette[colours & 0x0F];
}

std::vector<std::string> screenText(const TextScreen& screen) {
    std::vector<std::string> rows;
    for (int row = 0; row < 24; ++row) {
        std::string text;
        for (int column = 0; column < screen.columns; ++column)
            text.push_back(static_cast<char>(vdp.vram[screen.nameTable + row * screen.columns + column]));
        while (!text.empty() && text.back() == ' ') text.pop_back();
        rows.push_back(text);
    }
    return rows;
}

// Whether the picture at (left, top) shows every character cell of the screen exactly.
bool pictureShowsTheText(const TextScreen& screen, int left, int top) {
    for (int row = 0; row < 24; ++row) {
        for (int column = 0; column < screen.columns; ++column) {
            const uint8_t character = vdp.vram[screen.nameTable + row * screen.columns + column];
            uint16_t foreground, background;
            characterColours(character, foreground, background);
            for (int line = 0; line < 8; ++line) {
                const uint8_t pattern = vdp.vram[screen.patternTable + character * 8 + line];
                const uint16_t* pixels = frameBufferRow(top + row * 8 + line);
                for (int dot = 0; dot < screen.dotsPerCharacter; ++dot) {
                    const bool set = pattern & (0x80 >> dot);
                    const int x = left + column * screen.dotsPerCharacter + dot;
                    if (pixels[x] != (set ? foreground : background)) return false;
                }
            }
        }
    }
    return true;
}

class CBIOSPictureTest : public testing::HeadlessMachineTest {
protected:
    void SetUp() override {
        // The working directory exists already; start-up reads this before the ROMs.
        testing::writeTextFile("msx.cfg", ".MSXSpeed = 00 e4\n");
        HeadlessMachineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The run loop alone, without the emulation thread, whose stop resets the VDP.
        ASSERT_TRUE(initDisplay());
        enterRunLoop();
        runScanLines(cpu, 300 * 256);
    }
};

TEST_F(CBIOSPictureTest, ShowsTheNoCartridgeMessage) {
    ASSERT_TRUE(vdp.screenMode == kText1 || vdp.screenMode == kGraphic1)
        << "screen mode " << int(vdp.screenMode);
    const TextScreen screen = textScreen();
    const std::vector<std::string> rows = screenText(screen);
    std::string all;
    for (const std::string& row : rows) all += row + "\n";
    for (const char* text : {"C-BIOS 0.28      cbios.sf.net", "Localization: EU/INT",
                             "No cartridge found.", "This version of C-BIOS can",
                             "only start cartridges."})
        EXPECT_NE(all.find(std::string(text) + "\n"), std::string::npos) << text << " in\n" << all;

    // The text area sits centred in the 320 x 240 picture, give or take the adjust
    // registers: find where, then demand every dot of every cell.
    const int width = screen.columns * screen.dotsPerCharacter;
    bool found = false;
    for (int top = 0; top + 192 <= kSmallHeight && !found; ++top)
        for (int left = 0; left + width <= kSmallWidth && !found; ++left)
            found = pictureShowsTheText(screen, left, top);
    EXPECT_TRUE(found) << "no place in the picture shows the screen's characters";
}

}  // namespace
}  // namespace tavir
