#include "video/frame_buffer.h"

#include <algorithm>
#include <iterator>

#include "video/vdp_state.h"
#include "video/yjk_colours.h"

namespace tavir {

FrameBuffer frameBuffer;
DisplayState display;
PictureChanges pictureChanges;

namespace {

// Large enough for the 640 x 480 picture, so a size change never allocates.
alignas(64) uint16_t frameBufferStorage[kLargeWidth * kLargeHeight];

uint16_t levelOf(int level, uint16_t mask) {
    return static_cast<uint16_t>(static_cast<uint32_t>(level * mask / 7.0) & mask);
}

}  // namespace

void buildColourLevels(uint16_t redMask, uint16_t greenMask, uint16_t blueMask) {
    frameBuffer.redMask = redMask;
    frameBuffer.greenMask = greenMask;
    frameBuffer.blueMask = blueMask;
    for (int i = 0; i < 8; ++i) {
        vdp.redLevels[i] = levelOf(i, redMask);
        vdp.greenLevels[i] = levelOf(i, greenMask);
        vdp.blueLevels[i] = levelOf(i, blueMask);
    }
    // GGGRRRBB; the two blue bits reach levels 0, 2, 4 and 6 only, as on the V9958.
    for (int b = 0; b < 256; ++b) {
        vdp.directColour[b] = static_cast<uint16_t>(
            vdp.redLevels[(b >> 2) & 7] + vdp.greenLevels[b >> 5] + vdp.blueLevels[(b & 3) * 2]);
    }
    buildFiveBitLevels(redMask, greenMask, blueMask);
    notePictureChange();
}

void attachFrameBuffer(uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
    frameBuffer.pixels = pixels;
    frameBuffer.pitch = pitch;
    frameBuffer.width = width;
    frameBuffer.height = height;
    notePictureChange();
}

void initFrameBuffer() {
    const bool large = display.displayMode != 0;
    const int32_t width = large ? kLargeWidth : kSmallWidth;
    const int32_t height = large ? kLargeHeight : kSmallHeight;
    std::fill(std::begin(frameBufferStorage), std::end(frameBufferStorage), 0);
    attachFrameBuffer(reinterpret_cast<uint8_t*>(frameBufferStorage), width * 2, width, height);
    buildColourLevels(kRedMask565, kGreenMask565, kBlueMask565);
}

}  // namespace tavir
