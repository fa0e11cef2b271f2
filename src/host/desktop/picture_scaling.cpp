#include "host/desktop/picture_scaling.h"

#include <algorithm>
#include <cstring>

#include "host/desktop/picture_pixels.h"

namespace tavir {

int32_t enlargeChangedRows(const Picture& picture, int32_t scale, bool all, ShownRows& shown,
                           uint8_t* to, int32_t pitch, RowBand* bands, int32_t maxBands) {
    const int32_t width = std::clamp(picture.width, 0, kMailboxMaxWidth);
    const int32_t height = std::clamp(picture.height, 0, kMailboxMaxHeight);
    if (scale < 1 || maxBands < 1) return 0;
    if (shown.width != width || shown.height != height) {
        shown.pixels.assign(static_cast<size_t>(width) * height, 0);
        shown.width = width;
        shown.height = height;
        all = true;
    }
    const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint16_t);
    const size_t scaledBytes = static_cast<size_t>(width) * scale * sizeof(uint32_t);
    int32_t count = 0;
    for (int32_t y = 0; y < height; ++y) {
        const uint16_t* from = picture.pixels + static_cast<size_t>(y) * width;
        uint16_t* before = shown.pixels.data() + static_cast<size_t>(y) * width;
        if (!all && std::memcmp(from, before, rowBytes) == 0) continue;
        std::memcpy(before, from, rowBytes);
        uint8_t* first = to + static_cast<size_t>(y) * scale * pitch;
        uint32_t* out = reinterpret_cast<uint32_t*>(first);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel = bgraFromRGB565(from[x]);
            for (int32_t i = 0; i < scale; ++i) *out++ = pixel;
        }
        // The other rows of the same source row are copies: a plain memory copy.
        for (int32_t i = 1; i < scale; ++i) std::memcpy(first + i * pitch, first, scaledBytes);
        if (count > 0 && bands[count - 1].end == y) {
            bands[count - 1].end = y + 1;
        } else if (count < maxBands) {
            bands[count++] = RowBand{y, y + 1};
        } else {
            bands[count - 1].end = y + 1;
        }
    }
    return count;
}

}  // namespace tavir
