#include "video/vdp_registers.h"

#include "video/command_engine.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr uint8_t kNoMode = 0xFF;

// Index: M3-M5 of R#0 in bits 0-2, M2 and M1 of R#1 in bits 3 and 4.
constexpr uint8_t kModeByBits[32] = {
    kGraphic1,    kGraphic2, kGraphic3, kGraphic4, kGraphic5, kGraphic6, kNoMode, kGraphic7,
    kMulticolour, kNoMode,   kNoMode,   kNoMode,   kNoMode,   kNoMode,   kNoMode, kNoMode,
    kText1,       kNoMode,   kText2,    kNoMode,   kNoMode,   kNoMode,   kNoMode, kNoMode,
    kNoMode,      kNoMode,   kNoMode,   kNoMode,   kNoMode,   kNoMode,   kNoMode, kNoMode,
};

void setDrawColour0(uint16_t pixel, uint32_t doubled) {
    vdp.drawPalette[0] = pixel;
    vdp.drawPalette2[0] = doubled;
}

// With TP clear, colour 0 is see-through on the real chip and shows the backdrop. The
// renderers have no layers, so entry 0 simply draws in the backdrop colour; a backdrop
// of 0 is colour 0's own colour.
void applyBackdropRule(uint8_t r7, uint8_t r8) {
    const int backdrop = r7 & 15;
    if ((r8 & kR8Transparent) || backdrop == 0) {
        setDrawColour0(vdp.trueColour0, vdp.trueColour02);
    } else {
        setDrawColour0(vdp.drawPalette[backdrop], vdp.drawPalette2[backdrop]);
    }
}

// Whether writing `value` over `old` in R#n can change a line drawn afterwards. The
// status and palette pointers, the VRAM window and the command registers can't (what a
// command writes into VRAM is noted where it writes), any other register only with a
// new value.
bool changesPicture(uint8_t n, uint8_t old, uint8_t value) {
    if (n == 14 || n == 15 || n == 16 || n == 17 || (n >= 32 && n <= 46)) return false;
    return old != value;
}

}  // namespace

uint8_t screenModeFor(uint8_t r0, uint8_t r1, uint8_t current) {
    const uint8_t mode = kModeByBits[((r0 & 0x0E) >> 1) | (r1 & 0x18)];
    return mode == kNoMode ? current : mode;
}

void writeVDPRegister(uint8_t n, uint8_t value) {
    n &= 63;
    uint8_t* r = vdp.vdpRegister;
    if (changesPicture(n, r[n], value)) notePictureChange();
    switch (n) {
        case 0: vdp.screenMode = screenModeFor(value, r[1], vdp.screenMode); break;
        case 1: vdp.screenMode = screenModeFor(r[0], value, vdp.screenMode); break;
        case 7:
            if (!(r[8] & kR8Transparent)) applyBackdropRule(value, r[8]);
            break;
        case 8: applyBackdropRule(r[7], value); break;
        case 14:
            value &= 7;
            vdp.vramWindow = value * 0x4000u;
            break;
        case 15: value &= 15; break;
        case 16:
            value &= 15;
            vdp.paletteExpectsFirst = 1;
            break;
        case 44: commandDataWrite(value); break;
        case 46: startCommand(value); break;
        default: break;
    }
    r[n] = value;
}

void setPaletteEntry(uint8_t i, uint8_t red, uint8_t blue, uint8_t green) {
    i &= 15;
    notePictureChange();
    const uint16_t pixel = static_cast<uint16_t>(
        vdp.redLevels[red & 7] + vdp.greenLevels[green & 7] + vdp.blueLevels[blue & 7]);
    vdp.drawPalette[i] = pixel;
    vdp.drawPalette2[i] = pixel * 0x10001u;
    if (i == 0) {
        vdp.trueColour0 = pixel;
        vdp.trueColour02 = pixel * 0x10001u;
    }
    // Entry 0 and the backdrop entry both feed what colour 0 draws as.
    const uint8_t r7 = vdp.vdpRegister[7];
    const uint8_t r8 = vdp.vdpRegister[8];
    if (!(r8 & kR8Transparent) && (i == 0 || i == (r7 & 15))) applyBackdropRule(r7, r8);
}

}  // namespace tavir
