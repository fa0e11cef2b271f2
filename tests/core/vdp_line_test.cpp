// The line step's interrupt lines: where the line interrupt and the vertical blanking
// come for each combination of registers and the configured offset.
#include "core/vdp_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/ram_machine.h"
#include "video/frame_buffer.h"
#include "video/vdp_ports.h"

namespace tavir {
namespace {

class VDPLineTest : public testing::RAMMachineTest {
protected:
    // Runs the step for every line of a frame and returns the lines after which the
    // status bit `bit` of S#`status` was newly set.
    std::vector<int> linesRaising(int status, uint8_t bit) {
        std::vector<int> lines;
        vdp.scanLine = 0;
        for (int line = 0; line < 256; ++line) {
            vdp.vdpStatus[status] &= static_cast<uint8_t>(~bit);
            vdpLine(cpu);
            if (vdp.vdpStatus[status] & bit) lines.push_back(line);
        }
        return lines;
    }

    // The lines after which the blanking end withdrew a request made just before.
    std::vector<int> linesWithdrawing() {
        std::vector<int> lines;
        vdp.scanLine = 0;
        for (int line = 0; line < 256; ++line) {
            cpu.pendingVector = kInterruptVector;
            vdpLine(cpu);
            if (cpu.pendingVector == kNoInterrupt) lines.push_back(line);
        }
        return lines;
    }
};

using Lines = std::vector<int>;

TEST_F(VDPLineTest, LineInterruptLineFollowsR19R23R18AndTheOffset) {
    const struct {
        uint8_t r19, r23, r18;
        int offset;
        int line;
    } cases[] = {
        {100, 0, 0, 0, 124},   // R#19 + 24
        {100, 0, 0, -2, 122},  // the configured offset
        {100, 0, 0, 5, 129},
        {100, 0, 0x80, -2, 116},  // bit 7 of R#18: its adjust (8 lines) replaces the offset
        {100, 0, 0x30, -2, 125},  // without bit 7 the adjust (-3) and the offset both count
        {100, 50, 0, 0, 74},      // the vertical scroll of R#23 moves the line up
        {240, 0, 0, 0, 8},        // wraps within the frame
    };
    vdp.vdpRegister[0] = kR0LineInterruptEnable;
    for (const auto& c : cases) {
        vdp.vdpRegister[19] = c.r19;
        vdp.vdpRegister[23] = c.r23;
        vdp.vdpRegister[18] = c.r18;
        settings.HInterruptOffset = c.offset;
        EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{c.line})
            << int(c.r19) << " " << int(c.r23) << " " << int(c.r18) << " " << c.offset;
    }
}

// Line 124 raises the line interrupt of R#19 = 100, line 224 the blanking: each asks the
// CPU only with its own enable bit (IE1 in R#0, IE0 in R#1).
TEST_F(VDPLineTest, EachInterruptIsRequestedOnlyWithItsEnableBit) {
    vdp.vdpRegister[19] = 100;
    EXPECT_EQ(linesRaising(1, kS1LineInterrupt), Lines{});
    const struct { int r, line; uint8_t value; bool asked; } cases[] = {
        {0, 124, 0, false}, {0, 124, kR0LineInterruptEnable, true},
        {1, 224, 0, false}, {1, 224, kR1FrameInterruptEnable, true}};
    for (const auto& c : cases) {
        vdp.vdpRegister[0] = vdp.vdpRegister[1] = 0;
        vdp.vdpRegister[c.r] = c.value;
        vdp.scanLine = static_cast<uint8_t>(c.line);
        cpu.pendingVector = kNoInterrupt;
        vdpLine(cpu);
        EXPECT_EQ(cpu.pendingVector, c.asked ? kInterruptVector : kNoInterrupt) << c.line << " " << int(c.value);
    }
}

TEST_F(VDPLineTest, BlankingStartsAfterTheDisplayLinesAndEndsAtItsEnd) {
    const struct {
        uint8_t r9, r18;
        int offset;
        int start, end;
    } cases[] = {
        {0, 0, 0, 224, 32},    {kR9Lines212, 0, 0, 234, 22}, {0, 0x80, 0, 232, 40},  // 8 lines down
        {0, 0x30, 0, 221, 29},                                                       // 3 lines up
        {0, 0, -2, 224, 32},  // the offset is for the line interrupt only
    };
    for (const auto& c : cases) {
        vdp.vdpRegister[9] = c.r9;
        vdp.vdpRegister[18] = c.r18;
        settings.HInterruptOffset = c.offset;
        EXPECT_EQ(linesRaising(0, kS0Frame), Lines{c.start}) << int(c.r9) << " " << int(c.r18);
        EXPECT_EQ(linesWithdrawing(), Lines{c.end}) << int(c.r9) << " " << int(c.r18);
    }

    vdp.vdpStatus[0] = 0xFF;
    vdp.scanLine = 32;
    vdpLine(cpu);
    EXPECT_EQ(vdp.vdpStatus[0], 0xFF & ~(kS0Frame | kS0Collision));
}

TEST_F(VDPLineTest, EvenOddFlagAlternatesEveryFrame) {
    vdp.vdpStatus[2] = 0x4C;
    cpu.pc = 0x0100;
    runScanLines(cpu, 256);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C ^ kS2OddField);
    runScanLines(cpu, 256);
    EXPECT_EQ(vdp.vdpStatus[2], 0x4C);
}

// A skipped frame draws nothing, but its lines still test sprite collisions and, with
// the limit on, report the fifth sprite of a line (sprite mode 1 shows four), in every
// frame.
TEST_F(VDPLineTest, UndrawnLinesStillTestSpriteCollisionsAndTheLimit) {
    std::vector<uint8_t> vram(kVRAMSize, 0);
    uint8_t* const savedVRAM = vdp.vram;
    const uint8_t savedMode = vdp.screenMode;
    vdp.vram = vram.data();
    vdp.screenMode = kGraphic1;
    vdp.vdpRegister[1] = kR1DisplayEnable;
    vdp.vdpRegister[5] = 0x36;  // attributes at 0x1B00
    vdp.vdpRegister[6] = 0x07;  // patterns at 0x3800; pattern 1 a full block
    std::fill_n(&vram[0x3808], 8, 0xFF);
    const uint8_t sprites[] = {99, 0,  1,  15, 99, 4,  1,   15, 99, 40, 1,
                               15, 99, 80, 1,  15, 99, 120, 1,  15, 208};
    std::copy(std::begin(sprites), std::end(sprites), &vram[0x1B00]);
    settings.CheckSprite = 1;
    settings.SpriteLimit = 1;
    framePacing.drawThisFrame = false;
    display.otherFieldDrawn = 0;

    // Y = 99 covers display rows 100-107, scan lines 132-139; sprites 0 and 1 overlap.
    EXPECT_EQ(linesRaising(0, kS0Collision), (Lines{132, 133, 134, 135, 136, 137, 138, 139}));
    EXPECT_EQ(vdp.vdpStatus[0] & (kS0FifthSprite | kS0SpriteNumber), kS0FifthSprite | 4);
    // Read (cleared) and the frame run again with nothing changed: the same reports.
    vdp.vdpStatus[0] = 0;
    EXPECT_EQ(linesRaising(0, kS0Collision), (Lines{132, 133, 134, 135, 136, 137, 138, 139}));
    EXPECT_EQ(vdp.vdpStatus[0] & (kS0FifthSprite | kS0SpriteNumber), kS0FifthSprite | 4);
    vdp.vram = savedVRAM;
    vdp.screenMode = savedMode;
}

// A line is drawn again only after something could have changed it: a frame without a
// change leaves the frame buffer alone, and each kind of change redraws every line.
// Writes that change nothing drawn (a byte or register value rewritten, the status
// register pointer) redraw nothing.
TEST_F(VDPLineTest, LinesAreDrawnAgainOnlyAfterAChange) {
    std::vector<uint8_t> vram(kVRAMSize, 0);
    std::vector<uint16_t> pixels(kSmallWidth * kSmallHeight);
    uint8_t* const savedVRAM = vdp.vram;
    const uint8_t savedMode = vdp.screenMode;
    const FrameBuffer savedBuffer = frameBuffer;
    resetVDP();  // Graphic 1, an all-black palette, the ports expecting a first byte
    vdp.vram = vram.data();
    vdp.vdpRegister[1] = kR1DisplayEnable;
    attachFrameBuffer(reinterpret_cast<uint8_t*>(pixels.data()), 2 * kSmallWidth, kSmallWidth,
                      kSmallHeight);
    display = DisplayState{0, 1, 0, display.pictureChanges};
    framePacing.drawThisFrame = true;
    const auto runFrame = [this] { linesRaising(0, 0); };
    const auto scribbled = [&] { return std::count(pixels.begin(), pixels.end(), 0xBEEF); };
    const struct {
        const char* change;
        void (*make)();
        bool redraws;
    } changes[] = {
        {"VRAM write", [] { writeVDPControl(0), writeVDPControl(0x40), writeVDPData(0x55); }, true},
        {"the same VRAM byte again",
         [] { writeVDPControl(0), writeVDPControl(0x40), writeVDPData(0x55); }, false},
        {"register write", [] { writeVDPControl(0x01), writeVDPControl(0x87); }, true},
        {"the same register value again", [] { writeVDPControl(0x01), writeVDPControl(0x87); }, false},
        {"status register choice", [] { writeVDPControl(0x02), writeVDPControl(0x8F); }, false},
        {"palette write", [] { writeVDPPalette(0), writeVDPPalette(0); }, true},
        {"run loop entry", [] { enterRunLoop(); }, true},
    };
    runFrame();
    for (const auto& c : changes) {
        std::fill(pixels.begin(), pixels.end(), 0xBEEF);
        runFrame();
        EXPECT_EQ(scribbled(), kSmallWidth * kSmallHeight) << "nothing changed before " << c.change;
        c.make();
        runFrame();
        // Redrawn in black: the palette is all 0.
        EXPECT_EQ(scribbled(), c.redraws ? 0 : kSmallWidth * kSmallHeight) << c.change;
    }
    vdp.vram = savedVRAM;
    vdp.screenMode = savedMode;
    frameBuffer = savedBuffer;
}

}  // namespace
}  // namespace tavir
