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
    int32_t count = 0;
    for (int32_t y = 0; y < height; ++y) {
        const uint16_t* from = picture.pixels + static_cast<size_t>(y) * width;
        uint16_t* before = shown.pixels.data() + static_cast<size_t>(y) * width;
        int32_t left = 0, right = width;
        if (!all) {
            // Moving sprites change a few short spans of a row: only those are written.
            while (left < width && from[left] == before[left]) ++left;
            if (left == width) continue;
            while (from[right - 1] == before[right - 1]) --right;
        }
        std::memcpy(before + left, from + left, static_cast<size_t>(right - left) * 2);
        uint8_t* first = to + static_cast<size_t>(y) * scale * pitch +
                         static_cast<size_t>(left) * scale * sizeof(uint32_t);
        uint32_t* out = reinterpret_cast<uint32_t*>(first);
        for (int32_t x = left; x < right; ++x) {
            const uint32_t pixel = bgraFromRGB565(from[x]);
            for (int32_t i = 0; i < scale; ++i) *out++ = pixel;
        }
        // The other rows of the same source row are copies: a plain memory copy.
        const size_t scaledBytes = static_cast<size_t>(right - left) * scale * sizeof(uint32_t);
        for (int32_t i = 1; i < scale; ++i) std::memcpy(first + i * pitch, first, scaledBytes);
        if (count > 0 && (bands[count - 1].end == y || count == maxBands)) {
            RowBand& band = bands[count - 1];
            band.end = y + 1;
            band.left = std::min(band.left, left);
            band.right = std::max(band.right, right);
        } else {
            bands[count++] = RowBand{y, y + 1, left, right};
        }
    }
    return count;
}

}  // namespace tavir
