// The V9958's state as the CPU side, the line step and the renderer share it.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kVRAMSize = 0x20000;

struct VDPState {
    uint8_t* vram;            // 128 KB, allocated by the video start-up
    uint8_t vdpRegister[64];  // R#0-R#63; 47-63 are stored and never read
    uint8_t vdpStatus[16];    // S#0-S#15
    uint8_t screenMode;       // 0-8 and 13, derived from the mode bits
    uint16_t vramAddress;     // 14-bit CPU access address
    uint32_t vramWindow;      // (R#14 AND 7) x 16 KB
    uint8_t readAhead;        // what the next read of port 0x98 returns
    uint8_t writeSetup;       // 0x40 when the last address set-up was for writing
    uint8_t controlFirstPending;
    uint8_t controlFirstByte;
    uint8_t paletteFirstPending;
    uint8_t paletteFirstByte;
    uint16_t drawPalette[16];   // host pixels the renderers draw with
    uint32_t drawPalette2[16];  // the same doubled, two equal pixels per store
    uint16_t trueColour0;       // palette entry 0's own colour while R#8 TP is clear
    uint32_t trueColour02;
    uint16_t redLevels[8], greenLevels[8], blueLevels[8];
    uint8_t scanLine;  // 0-255, one frame is 256 lines
};

extern VDPState vdp;

}  // namespace tavir
