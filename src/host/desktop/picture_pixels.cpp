#include "host/desktop/picture_pixels.h"

#include <algorithm>

namespace tavir {

void convertPicture(const Picture& picture, PicturePixels& out) {
    const int32_t width = std::clamp(picture.width, 0, kMailboxMaxWidth);
    const int32_t height = std::clamp(picture.height, 0, kMailboxMaxHeight);
    if (out.width != width || out.height != height) {
        out.pixels.resize(static_cast<size_t>(width) * height);
        out.width = width;
        out.height = height;
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint16_t* from = picture.pixels + static_cast<size_t>(y) * width;
        uint32_t* to = out.pixels.data() + static_cast<size_t>(height - 1 - y) * width;
        for (int32_t x = 0; x < width; ++x) to[x] = bgraFromRGB565(from[x]);
    }
}

}  // namespace tavir
