// The V9958's state as the CPU side, the line step and the renderer share it.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kVRAMSize = 0x20000;
constexpr uint32_t kVRAMMask = kVRAMSize - 1;  // every renderer address is folded into VRAM
constexpr uint16_t kVRAMWindowMask = 0x3FFF;   // the CPU reaches 16 KB at a time

// `screenMode` values.
enum ScreenMode : uint8_t {
    kText1 = 0,
    kGraphic1 = 1,
    kGraphic2 = 2,
    kMulticolour = 3,
    kGraphic3 = 4,
    kGraphic4 = 5,
    kGraphic5 = 6,
    kGraphic6 = 7,
    kGraphic7 = 8,
    kText2 = 13,
};

// Register bits, named as in the V9938/V9958 technical data.
constexpr uint8_t kR0LineInterruptEnable = 0x10;   // IE1
constexpr uint8_t kR1DisplayEnable = 0x40;         // BL
constexpr uint8_t kR1FrameInterruptEnable = 0x20;  // IE0
constexpr uint8_t kR1SpriteSize16 = 0x02;          // SI
constexpr uint8_t kR1SpriteMagnify = 0x01;         // MAG
constexpr uint8_t kR8Transparent = 0x20;           // TP: colour 0 is a colour of its own
constexpr uint8_t kR8SpritesOff = 0x02;            // SPD
constexpr uint8_t kR9Lines212 = 0x80;              // LN
constexpr uint8_t kR9Interlace = 0x08;             // IL
constexpr uint8_t kR9EvenOddPages = 0x04;          // EO: alternate pages per field
constexpr uint8_t kR17NoIncrement = 0x80;          // AII

// Status bits.
constexpr uint8_t kS0Frame = 0x80;              // F
constexpr uint8_t kS0FifthSprite = 0x40;        // 5S: a line had more sprites than drawn
constexpr uint8_t kS0SpriteNumber = 0x1F;       // the first sprite left out
constexpr uint8_t kS0Collision = 0x20;          // C
constexpr uint8_t kS1LineInterrupt = 0x01;      // FH
constexpr uint8_t kS2TransferReady = 0x80;      // TR
constexpr uint8_t kS2VerticalRetrace = 0x40;    // VR
constexpr uint8_t kS2HorizontalRetrace = 0x20;  // HR
constexpr uint8_t kS2OddField = 0x02;           // EO, toggled once per frame
constexpr uint8_t kS2CommandExecuting = 0x01;   // CE

struct VDPState {
    uint8_t* vram;            // 128 KB, allocated by the video start-up
    uint8_t vdpRegister[64];  // R#0-R#63; 47-63 are stored and never read
    uint8_t vdpStatus[16];    // S#0-S#15
    uint8_t screenMode;       // 0-8 and 13, derived from the mode bits
    uint16_t vramAddress;     // 14-bit CPU access address
    uint32_t vramWindow;      // (R#14 AND 7) x 16 KB
    uint8_t readAhead;        // what the next read of port 0x98 returns
    uint8_t writeSetup;       // 0x40 when the last address set-up was for writing
    // The two-byte latches of ports 0x99 and 0x9A, kept the way snapshots store them:
    // 1 while the port expects the first byte of a pair, 0 while it holds one.
    uint8_t controlExpectsFirst;
    uint8_t controlFirstByte;
    uint8_t paletteExpectsFirst;
    uint8_t paletteFirstByte;
    uint16_t drawPalette[16];   // host pixels the renderers draw with
    uint32_t drawPalette2[16];  // the same doubled, two equal pixels per store
    uint16_t trueColour0;       // palette entry 0's own colour while R#8 TP is clear
    uint32_t trueColour02;
    // Host pixels of the eight intensity levels of each primary, from the frame buffer's
    // masks; `directColour` is every Graphic 7 byte GGGRRRBB already converted with them.
    uint16_t redLevels[8], greenLevels[8], blueLevels[8];
    uint16_t directColour[256];
    uint8_t scanLine;  // 0-255, one frame is 256 lines
};

extern VDPState vdp;

// The VDP part of every machine reset. VRAM, `trueColour0`, R#47-R#63, the level tables
// and the scan line keep their values.
void resetVDP();

}  // namespace tavir
