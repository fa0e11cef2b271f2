// The line renderer on small VRAM set-ups, for what no golden run shows: the display
// switched off, 80-column text's dots, YJK and YAE, and register values that must not
// draw outside the frame buffer.
#include "video/screen_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "video/sprites.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint16_t kStale = 0x1234;  // what a row held before

class ScreenRendererTest : public VDPTest {
protected:
    void SetUp() override { startVideo(0, true); }

    static void graphic4() {
        setMode(0x06, 0);
        setRegister(2, 0x1F);  // page 0
    }

    static void fillVRAM(uint32_t address, int count, uint8_t value) {
        std::fill_n(vdp.vram + address, count, value);
    }

    static void drawLine(int line) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
    }
    // Display row `row` (192 lines, no adjust) drawn; the active area starts at pixel 32.
    static uint16_t dotAfterDrawing(int row, int x) {
        drawLine(32 + row);
        return pixel(24 + row, 32 + x);
    }
};

// With the display off the whole row, both rows of it at 640 x 480, is colour 0, drawn as
// backdrop 4 (the golden runs of our scroll cartridge show borders and adjusts).
TEST_F(ScreenRendererTest, DisplayOffIsAllBorder) {
    for (uint8_t size : {0, 1}) {
        startVideo(size, true);
        graphic4();
        fillVRAM(0, 128, 0x11);
        setRegister(1, 0x00);
        drawLine(32);
        for (int x = 0; x < frameBuffer.width; ++x) {
            ASSERT_EQ(pixel(24 * (size + 1), x), kWhite) << x;
            ASSERT_EQ(pixel(24 * (size + 1) + size, x), kWhite) << x;
        }
    }
}

// Text 2 at 320 averages dot pairs: avg(blue, white) = 7800 + 3E0 + 1F = 0x7BFF, with
// 8-dot margins; at 640 every dot shows after a 16-pixel margin.
TEST_F(ScreenRendererTest, Text2MergesDotPairsAt320AndShowsEveryDotAt640) {
    for (uint8_t size : {0, 1}) {
        startVideo(size, true);
        setMode(0x04, 0x10);   // Text 2
        setRegister(2, 0x03);  // names at 0
        setRegister(4, 0x01);  // patterns at 0x800
        setRegister(7, 0x43);  // foreground white, background blue
        vdp.vram[0] = 1;
        vdp.vram[1] = 2;
        vdp.vram[0x800 + 8] = 0xA8;   // alternating dots
        vdp.vram[0x800 + 16] = 0xFC;  // all six
        drawLine(32);
        const int at[] = {39, 40, 42, 43, 46, 280, 79, 80, 81, 82};
        const uint16_t expected[] = {kBlue, 0x7BFF, 0x7BFF, kWhite, kBlue,
                                     kBlue, kBlue,  kWhite, kBlue,  kWhite};
        for (int i = size * 6; i < (size ? 10 : 6); ++i) {
            EXPECT_EQ(pixel(24 * (size + 1) + size, at[i]), expected[i]) << at[i];
        }
    }
}

// Whatever the registers, mode and scroll hold, no pixel of the line or its sprites lands
// outside the frame buffer's rows and columns (the sanitizer build checks VRAM reads).
TEST_F(ScreenRendererTest, NoRegisterValueDrawsOutsideTheFrameBuffer) {
    constexpr int kGuard = 16;
    for (uint8_t size : {0, 1}) {
        startVideo(size);
        const int width = frameBuffer.width, height = frameBuffer.height;
        const int pitchPixels = width + 2 * kGuard;
        std::vector<uint16_t> memory(pitchPixels * (height + 2 * kGuard), kStale);
        attachFrameBuffer(reinterpret_cast<uint8_t*>(memory.data() + kGuard * pitchPixels + kGuard),
                          pitchPixels * 2, width, height);
        uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<uint8_t>(seed >> 16);
        };
        for (uint32_t i = 0; i < kVRAMSize; ++i) vdp.vram[i] = next();
        for (int round = 0; round < 40; ++round) {
            for (int n = 0; n < 47; ++n) vdp.vdpRegister[n] = next();
            vdp.vdpRegister[1] |= kR1DisplayEnable;
            vdp.screenMode = (round % 10 == 9) ? next() : static_cast<uint8_t>(round % 14);
            vdp.vdpStatus[2] = next();
            for (int line = 0; line < 256; ++line) {
                drawLine(line);
                renderSpriteLine();
                checkSpriteCollision();
            }
        }
        for (int y = 0; y < height + 2 * kGuard; ++y) {
            for (int x = 0; x < pitchPixels; ++x) {
                if (y < kGuard || y >= kGuard + height || x < kGuard || x >= kGuard + width) {
                    ASSERT_EQ(memory[y * pitchPixels + x], kStale) << x << "," << y;
                }
            }
        }
        initFrameBuffer();
    }
}

// The V9958's additions. YJK by hand from R = Y + J, G = Y + K, B = (5Y - 2J - K) / 4
// clamped to 0-31; in RGB565 a five-bit level is red and blue as it is, green
// floor(level x 63 / 31).
TEST_F(ScreenRendererTest, YJKGroupsShareChromaAndYAEBytesCanBePaletteColours) {
    setMode(0x0E, 0);  // Graphic 7
    const struct { uint8_t r25, bytes[4]; uint16_t pixels[4]; } cases[] = {
        // K = 5 (5, 0), J = -3 (5, 7); Y = 10, 0, 31, 20:
        // (R, G, B) = (7, 15, 12), (0, 5, 0), (28, 31, 31), (17, 25, 25).
        {0x08, {0x55, 0x00, 0xFD, 0xA7}, {0x3BCC, 0x0140, 0xE7FF, 0x8E59}},
        // YAE: 0x1D has bit 3, palette colour 1 (red); then Y = 8, 4, 0 with the same
        // K and J: (5, 13, 10), (1, 9, 5), (0, 5, 0).
        {0x18, {0x1D, 0x40, 0x25, 0x07}, {kRed, 0x2B4A, 0x0A45, 0x0140}},
    };
    for (const auto& c : cases) {
        setRegister(25, c.r25);
        std::copy_n(c.bytes, 4, vdp.vram + 256 * 5 + 8);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(dotAfterDrawing(5, 8 + i), c.pixels[i]) << i;
    }
}

}  // namespace
}  // namespace tavir::testing
