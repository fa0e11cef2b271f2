// Lines the line step leaves as they were drawn must be what drawing them again gives.
// Between frames, random changes go in through the VDP's ports as a program makes them:
// bytes of the tables each mode reads (names, patterns, colours, bitmap pages, sprite
// tables), page flips, scrolls, palette entries and drawing commands. After each frame the
// frame buffer must equal a frame drawn with every line afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "core/frame_pacing.h"
#include "core/vdp_line.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

struct Area {
    uint32_t base, size;
};

struct ModeSetUp {
    const char* name;
    uint8_t r0;
    uint8_t tables[6];         // R#2-R#6 and R#11
    std::vector<Area> areas;   // what a program writes into
    std::vector<uint8_t> pages;  // R#2 values that flip the shown page (bitmap modes)
};

const ModeSetUp kModes[] = {
    {"graphic1", 0x00, {0x06, 0x80, 0x00, 0x36, 0x07, 0},
     {{0x1800, 768}, {0x2000, 32}, {0x0000, 2048}, {0x1B00, 128}, {0x3800, 2048}}, {}},
    {"graphic2", 0x02, {0x06, 0xFF, 0x03, 0x36, 0x07, 0},
     {{0x1800, 768}, {0x2000, 6144}, {0x0000, 6144}, {0x1B00, 128}, {0x3800, 2048}}, {}},
    {"graphic3", 0x04, {0x06, 0xFF, 0x03, 0x3F, 0x07, 0},
     {{0x1800, 768}, {0x2000, 6144}, {0x0000, 6144}, {0x1E00, 128}, {0x1C00, 512}, {0x3800, 2048}},
     {}},
    {"graphic4", 0x06, {0x1F, 0, 0, 0xEF, 0x0F, 0},
     {{0x0000, 0x6A00}, {0x8000, 0x6A00}, {0x7600, 128}, {0x7400, 512}, {0x7800, 2048}}, {0x1F, 0x3F}},
    {"graphic5", 0x08, {0x1F, 0, 0, 0xEF, 0x0F, 0},
     {{0x0000, 0x6A00}, {0x8000, 0x6A00}, {0x7600, 128}, {0x7400, 512}, {0x7800, 2048}}, {0x1F, 0x3F}},
    {"graphic6", 0x0A, {0x1F, 0, 0, 0xF7, 0x1E, 1},
     {{0x0000, 0xD400}, {0x10000, 0xD400}, {0xFA00, 128}, {0xF800, 512}, {0xF000, 2048}}, {0x1F, 0x3F}},
    {"graphic7", 0x0E, {0x1F, 0, 0, 0xF7, 0x1E, 1},
     {{0x0000, 0xD400}, {0x10000, 0xD400}, {0xFA00, 128}, {0xF800, 512}, {0xF000, 2048}}, {0x1F, 0x3F}},
};

class LineSkippingTest : public VDPTest {
protected:
    void runFrame() {
        framePacing.drawThisFrame = true;
        vdp.scanLine = 0;
        for (int line = 0; line < 255; ++line) vdpLine(cpu);  // the last one ends the frame
    }

    std::vector<uint16_t> picture() const {
        std::vector<uint16_t> rows;
        for (int row = 0; row < frameBuffer.height; ++row)
            rows.insert(rows.end(), frameBufferRow(row), frameBufferRow(row) + frameBuffer.width);
        return rows;
    }

    // R#32-R#45 from source, destination, size and colour, then the command into R#46.
    static void command(uint8_t code, int sx, int sy, int dx, int dy, int nx, int ny, uint8_t colour) {
        const int values[] = {sx & 255, sx >> 8, sy & 255, sy >> 8, dx & 255, dx >> 8, dy & 255,
                              dy >> 8, nx & 255, nx >> 8, ny & 255, ny >> 8, colour, 0};
        for (int i = 0; i < 14; ++i) setRegister(static_cast<uint8_t>(32 + i), static_cast<uint8_t>(values[i]));
        setRegister(46, code);
    }

    void change(std::mt19937& rng, const ModeSetUp& mode) {
        const auto below = [&rng](uint32_t n) { return static_cast<uint32_t>(rng() % n); };
        switch (below(9)) {
            case 0: setRegister(23, static_cast<uint8_t>(below(256))); return;  // scroll
            case 1: setColour(static_cast<uint8_t>(below(16)), below(8), below(8), below(8)); return;
            case 2:
                if (!mode.pages.empty()) setRegister(2, mode.pages[below(2)]);
                return;
            case 3:
            case 4:  // a fill, a copy, a dot or a line from the command engine
                if (mode.pages.empty()) return;
                command(std::array<uint8_t, 6>{0xC0, 0x80, 0xD0, 0x90, 0x50, 0x70}[below(6)], below(512),
                        below(512), below(512), below(512), 1 + below(200), 1 + below(100),
                        static_cast<uint8_t>(rng()));
                return;
            default: {  // a run of bytes into one of the tables
                const Area& area = mode.areas[below(mode.areas.size())];
                setWriteAddress(area.base + below(area.size - 16));
                for (uint32_t n = 1 + below(16); n > 0; --n) writeVDPData(static_cast<uint8_t>(rng()));
            }
        }
    }
};

TEST_F(LineSkippingTest, LinesLeftAsDrawnAreWhatAFullRedrawGives) {
    for (uint8_t size : {0, 1}) {
        for (const ModeSetUp& mode : kModes) {
            startVideo(size, true);
            std::mt19937 rng(size * 16 + mode.r0);
            // Sprites of 8 or 16 dots, magnified or not, as the seed falls.
            setMode(mode.r0, static_cast<uint8_t>(rng() % 4));
            const uint8_t registers[] = {2, 3, 4, 5, 6, 11};
            for (int i = 0; i < 6; ++i) setRegister(registers[i], mode.tables[i]);
            setRegister(9, rng() % 2 ? 0x80 : 0x00);  // 212 or 192 lines
            for (const Area& area : mode.areas)
                std::generate_n(vdp.vram + area.base, area.size, [&rng] { return static_cast<uint8_t>(rng()); });
            for (int step = 0; step < 40; ++step) {
                change(rng, mode);
                if (step % 3 == 0) change(rng, mode);
                runFrame();
                const std::vector<uint16_t> kept = picture();
                notePictureChange();
                runFrame();
                const std::vector<uint16_t> redrawn = picture();
                const auto at = std::mismatch(kept.begin(), kept.end(), redrawn.begin()).first - kept.begin();
                ASSERT_EQ(at, static_cast<long>(kept.size()))
                    << mode.name << " at " << (size ? 640 : 320) << ", step " << step << ": row "
                    << at / frameBuffer.width << ", pixel " << at % frameBuffer.width;
            }
        }
    }
}

}  // namespace
}  // namespace tavir::testing
