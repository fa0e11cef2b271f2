#include "video/vdp_startup.h"

#include <algorithm>
#include <memory>
#include <new>

#include "core/log.h"
#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

std::unique_ptr<uint8_t[]> vramBlock;

}  // namespace

int initVDP() {
    if (!vramBlock) {
        vramBlock.reset(new (std::nothrow) uint8_t[kVRAMSize]);
        if (!vramBlock) {
            logPrint("VRAM Allocate Failed.\n");
            return 0;
        }
        // Real VRAM powers up with noise; zeros keep the first frames and the tests
        // reproducible. A reset never clears it again.
        std::fill_n(vramBlock.get(), kVRAMSize, 0);
    }
    vdp.vram = vramBlock.get();
    vdp.vramWindow = 0;
    display.displayMode = settings.DisplayMode != 0 ? 1 : 0;
    display.renderEnabled = 1;
    display.otherFieldDrawn = 0;
    initFrameBuffer();
    return 1;
}

void shutdownVDP() {
    vdp.vram = nullptr;
    vramBlock.reset();
}

}  // namespace tavir
