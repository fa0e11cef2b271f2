#include "video/vdp_state.h"

#include <algorithm>

#include "video/frame_buffer.h"
#include "video/vdp_command.h"

namespace tavir {

VDPState vdp;

void resetVDP() {
    vdp.vramAddress = 0;
    vdp.screenMode = kGraphic1;
    std::fill_n(vdp.vdpRegister, 47, 0);
    vdp.vdpRegister[1] = 0x10;
    vdp.vramWindow = 0;  // follows R#14 = 0
    std::fill_n(vdp.vdpStatus, 16, 0);
    vdp.vdpStatus[0] = 0x9F;
    vdp.vdpStatus[1] = 0x04;  // V9958 identification in bits 1-5
    vdp.vdpStatus[2] = 0x4C;  // also ends any command transfer (TR and CE clear)
    resetCommandEngine();
    std::fill_n(vdp.drawPalette, 16, 0);
    std::fill_n(vdp.drawPalette2, 16, 0);
    vdp.readAhead = 0;
    vdp.writeSetup = 0x40;
    vdp.controlExpectsFirst = 1;
    vdp.controlFirstByte = 0;
    vdp.paletteExpectsFirst = 1;
    vdp.paletteFirstByte = 0;
    notePictureChange();
}

}  // namespace tavir
