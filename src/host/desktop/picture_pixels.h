// The picture in the layout of a window's own buffer: 32-bit BGRA pixels, bottom row first.
// A software OpenGL (Mesa's llvmpipe, under Xvfb or without a GPU driver) keeps textures and
// windows so, and then uploads and blits whole rows without converting each pixel again.
#pragma once

#include <cstdint>
#include <vector>

#include "host/desktop/picture_mailbox.h"

namespace tavir {

struct PicturePixels {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB; reallocated only when the size changes
};

// An RGB565 pixel as opaque BGRA. The 5 and 6 bits widen by repeating their top bits, so
// that black stays 0 and full intensity becomes 255, as a GPU widens them.
inline uint32_t bgraFromRGB565(uint16_t pixel) {
    const uint32_t r = (pixel >> 11) & 0x1F, g = (pixel >> 5) & 0x3F, b = pixel & 0x1F;
    return 0xFF000000u | (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

// The picture converted into `out`, its last row first.
void convertPicture(const Picture& picture, PicturePixels& out);

}  // namespace tavir
