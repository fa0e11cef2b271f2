// A started video with VRAM cleared, the VDP reset, the 320 x 240 RGB565 frame buffer and
// a CPU line of 228 T-states; helpers that drive the VDP through its ports as the BIOS does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "core/machine.h"
#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/vdp_ports.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace tavir::testing {

// RGB565 values of full-intensity colours: level 7 of a primary is its whole mask.
constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kGreen = 0x07E0;
constexpr uint16_t kBlue = 0x001F;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kBlack = 0x0000;

class VDPTest : public ::testing::Test {
protected:
    void SetUp() override { startVideo(0); }

    // With `colours`, the entries of useColours().
    void startVideo(uint8_t displayMode, bool colours = false) {
        settings = Settings{};
        settings.DisplayMode = displayMode;
        ASSERT_EQ(initVDP(), 1);
        std::fill_n(vdp.vram, kVRAMSize, 0);
        resetVDP();
        vdp.scanLine = 0;
        cpu.MSXSpeed = 228;
        cpu.cycleCount = 228;
        cpu.pendingVector = kNoInterrupt;
        if (colours) useColours();
    }

    static void setRegister(uint8_t n, uint8_t value) {
        writeVDPControl(value);
        writeVDPControl(0x80 | n);
    }

    // A set-up anywhere in VRAM: R#14 selects the 16 KB window.
    static void setAddress(uint32_t address, bool write) {
        setRegister(14, static_cast<uint8_t>(address >> 14));
        writeVDPControl(static_cast<uint8_t>(address));
        writeVDPControl(static_cast<uint8_t>((write ? 0x40 : 0) | ((address >> 8) & 0x3F)));
    }
    static void setWriteAddress(uint32_t address) { setAddress(address, true); }
    static void setReadAddress(uint32_t address) { setAddress(address, false); }

    // Entry 1 red, 2 green, 3 blue, 4 white, 5 yellow; backdrop 4.
    static void useColours() {
        const uint8_t levels[][3] = {{7, 0, 0}, {0, 7, 0}, {0, 0, 7}, {7, 7, 7}, {7, 7, 0}};
        for (int i = 0; i < 5; ++i) setColour(i + 1, levels[i][0], levels[i][1], levels[i][2]);
        setRegister(7, 0x04);
    }

    static void setMode(uint8_t r0, uint8_t r1) {
        setRegister(1, 0x40);
        setRegister(0, r0);
        setRegister(1, static_cast<uint8_t>(0x40 | r1));
    }

    static uint16_t pixel(int row, int x) { return frameBufferRow(row)[x]; }

    // Palette entry from levels 0-7, as the two bytes 0RRR0BBB and 00000GGG of port 0x9A.
    static void setColour(uint8_t index, uint8_t red, uint8_t green, uint8_t blue) {
        setRegister(16, index);
        writeVDPPalette(static_cast<uint8_t>((red << 4) | blue));
        writeVDPPalette(green);
    }
};

}  // namespace tavir::testing
