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

}  // namespace
}  // namespace tavir::testing
