// The picture enlarged by a whole factor straight into a window's own 32-bit pixels, row
// by row, skipping the rows that have not changed since the last picture. Without a GPU
// this is the cheapest way to a sharp, enlarged picture: one pass over what changed, where
// a software OpenGL runs a texture-sampling shader over every pixel of the window.
#pragma once

#include <cstdint>
#include <vector>

#include "host/desktop/picture_mailbox.h"

namespace tavir {

// Source rows [first, end), columns [left, right) that were rewritten.
struct RowBand {
    int32_t first, end;
    int32_t left, right;
};

// What the destination showed last, as source pixels.
struct ShownRows {
    int32_t width = 0, height = 0;
    std::vector<uint16_t> pixels;  // reallocated only when the size changes
};

// Writes the pixels of `picture` that differ from `shown` (all of them when `all` is set or
// the size changed) `scale` times across and down into `to`, rows `pitch` bytes apart, as
// 0xFFRRGGBB pixels, and remembers them in `shown`. Of each changed row the span from its
// first to its last changed pixel is written. The rewritten rows go into `bands`, each with
// the columns its rows' spans cover (neighbouring rows merged; beyond `maxBands` the last
// band stretches to cover the rest).
// Returns the number of bands.
int32_t enlargeChangedRows(const Picture& picture, int32_t scale, bool all, ShownRows& shown,
                           uint8_t* to, int32_t pitch, RowBand* bands, int32_t maxBands);

}  // namespace tavir
