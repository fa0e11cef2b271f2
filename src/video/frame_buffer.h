// The 16-bit host picture the renderers draw into, one row per scan line at 320 x 240 or
// two at 640 x 480, and the display flags that gate the drawing.
#pragma once

#include <cstdint>

#include "video/picture_changes.h"

namespace tavir {

// RGB565, the only pixel format the host layer uses.
constexpr uint16_t kRedMask565 = 0xF800;
constexpr uint16_t kGreenMask565 = 0x07E0;
constexpr uint16_t kBlueMask565 = 0x001F;

constexpr int kSmallWidth = 320, kSmallHeight = 240;
constexpr int kLargeWidth = 640, kLargeHeight = 480;

struct FrameBuffer {
    uint8_t* pixels;  // row 0; rows are `pitch` bytes apart
    int32_t pitch;    // in bytes
    int32_t width, height;
    uint16_t redMask, greenMask, blueMask;
};

extern FrameBuffer frameBuffer;

struct DisplayState {
    uint8_t displayMode;      // 0: 320 x 240, 1: 640 x 480
    uint8_t renderEnabled;    // 0 while the frame output toggle has drawing off
    uint8_t otherFieldDrawn;  // the first field of an interlaced picture is in the buffer
};

extern DisplayState display;

// Points `frameBuffer` at the machine's own memory in the size `display.displayMode`
// asks for (any nonzero mode is 640 x 480), clears it, and rebuilds the colour level
// tables from the RGB565 masks. The host calls it again after changing the size.
void initFrameBuffer();

// Lets the host hand in memory of its own (a pitch of at least width x 2 bytes). The
// renderers draw only when the geometry matches `display.displayMode`.
void attachFrameBuffer(uint8_t* pixels, int32_t pitch, int32_t width, int32_t height);

// Level i of each primary is trunc(i x mask / 7) AND mask; the Graphic 7 direct colours
// follow from the levels.
void buildColourLevels(uint16_t redMask, uint16_t greenMask, uint16_t blueMask);

inline uint16_t* frameBufferRow(int row) {
    return reinterpret_cast<uint16_t*>(frameBuffer.pixels + row * frameBuffer.pitch);
}

struct ColourMasks {
    uint16_t all;     // the three primaries' bits
    uint16_t lowest;  // the lowest bit of each primary
};

inline ColourMasks colourMasks() {
    const FrameBuffer& f = frameBuffer;
    const auto lowestBit = [](uint16_t mask) { return static_cast<uint16_t>(mask & -mask); };
    return {static_cast<uint16_t>(f.redMask | f.greenMask | f.blueMask),
            static_cast<uint16_t>(lowestBit(f.redMask) | lowestBit(f.greenMask) |
                                  lowestBit(f.blueMask))};
}

// The mean of two pixels, each primary rounded down: how two neighbouring dots of a
// 512-dot mode share one pixel of the 320-pixel picture. All three primaries at once:
// a AND b plus half of a XOR b, with the bit each primary would pass on to the one below
// cleared first. Loops pass the masks in a local copy, as the frame buffer's own fields
// could alias the pixels being written.
inline uint16_t mergeColours(uint16_t a, uint16_t b, ColourMasks m) {
    const uint32_t common = a & b & m.all;
    const uint32_t half = ((a ^ b) & m.all & ~m.lowest) >> 1;
    return static_cast<uint16_t>(common + half);
}

inline uint16_t mergeColours(uint16_t a, uint16_t b) {
    return mergeColours(a, b, colourMasks());
}

}  // namespace tavir
