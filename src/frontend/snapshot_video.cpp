// The VDP in a snapshot image: registers, latches, palette pixels and VRAM.
//
// The palette fields hold host pixels, not the chip's colour levels. This machine always
// draws RGB565, so it writes them in that form and reads every file's pixels as RGB565;
// a file made by a program drawing another 16-bit format shows its colours shifted until
// the program writes the palette again.
#include <cstring>

#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_bytes.h"
#include "frontend/snapshot_layout.h"
#include "video/frame_buffer.h"
#include "video/vdp_registers.h"
#include "video/vdp_state.h"

namespace tavir::snapshot {

namespace {

bool knownScreenMode(uint8_t mode) {
    return mode <= kGraphic7 || mode == kText2;
}

}  // namespace

void storeVDPBlock(uint8_t* image) {
    image[kControlExpectsFirst] = vdp.controlExpectsFirst;
    image[kWriteSetup] = vdp.writeSetup;
    image[kPaletteExpectsFirst] = vdp.paletteExpectsFirst;
    image[kControlFirstByte] = vdp.controlFirstByte;
    image[kPaletteFirstByte] = vdp.paletteFirstByte;
    image[kReadAhead] = vdp.readAhead;

    std::memcpy(image + kVDPRegisters, vdp.vdpRegister, sizeof vdp.vdpRegister);
    std::memcpy(image + kVDPStatus, vdp.vdpStatus, sizeof vdp.vdpStatus);
    image[kScanLine] = vdp.scanLine;
    for (int i = 0; i < 16; ++i) {
        put16(image + kDrawPalette + 2 * i, vdp.drawPalette[i]);
        put32(image + kDrawPalette2 + 4 * i, vdp.drawPalette2[i]);
    }
    put16(image + kVRAMAddress, vdp.vramAddress);
    image[kScreenMode] = vdp.screenMode;
    if (vdp.vram != nullptr)
        std::memcpy(image + kVRAM, vdp.vram, kVRAMSize);
    else
        std::memset(image + kVRAM, 0, kVRAMSize);
    put16(image + kTrueColour0, vdp.trueColour0);
    put32(image + kTrueColour02, vdp.trueColour02);
}

const char* checkVDPBlock(const uint8_t* image) {
    if (image[kControlExpectsFirst] > 1) return "control latch flag";
    if (image[kPaletteExpectsFirst] > 1) return "palette latch flag";
    // Register writes keep only the bits the chip has; R#15 picks a status register and
    // R#14 the CPU's 16 KB window of VRAM.
    const uint8_t* r = image + kVDPRegisters;
    if (r[14] > 7) return "R#14";
    if (r[15] > 15) return "R#15";
    if (r[16] > 15) return "R#16";
    // scanLine is a byte and every value is a line of the frame: nothing to refuse.
    if (get16(image + kVRAMAddress) > kVRAMWindowMask) return "vramAddress";
    if (!knownScreenMode(image[kScreenMode])) return "screenMode";
    return nullptr;
}

void loadVDPBlock(const uint8_t* image, uint8_t version) {
    vdp.controlExpectsFirst = image[kControlExpectsFirst];
    vdp.writeSetup = image[kWriteSetup];
    vdp.paletteExpectsFirst = image[kPaletteExpectsFirst];
    vdp.controlFirstByte = image[kControlFirstByte];
    vdp.paletteFirstByte = image[kPaletteFirstByte];
    vdp.readAhead = image[kReadAhead];

    std::memcpy(vdp.vdpRegister, image + kVDPRegisters, sizeof vdp.vdpRegister);
    std::memcpy(vdp.vdpStatus, image + kVDPStatus, sizeof vdp.vdpStatus);
    vdp.scanLine = image[kScanLine];
    for (int i = 0; i < 16; ++i) {
        vdp.drawPalette[i] = get16(image + kDrawPalette + 2 * i);
        vdp.drawPalette2[i] = get32(image + kDrawPalette2 + 4 * i);
    }
    vdp.vramAddress = get16(image + kVRAMAddress);
    vdp.screenMode = image[kScreenMode];
    if (vdp.vram != nullptr) std::memcpy(vdp.vram, image + kVRAM, kVRAMSize);

    if (version == 1) {
        // Version 1 did not keep colour 0's own colour apart. With TP set or a backdrop of
        // 0, entry 0 holds it; otherwise it is lost and the backdrop's stands in.
        vdp.trueColour0 = vdp.drawPalette[0];
        vdp.trueColour02 = vdp.drawPalette2[0];
        writeVDPRegister(8, vdp.vdpRegister[8]);
    } else {
        vdp.trueColour0 = get16(image + kTrueColour0);
        vdp.trueColour02 = get32(image + kTrueColour02);
    }
    vdp.vramWindow = vdp.vdpRegister[14] * 0x4000u;
    notePictureChange();
}

}  // namespace tavir::snapshot
