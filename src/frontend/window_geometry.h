// Where the picture goes in the window: the window's first size on the desktop, and the
// picture's place in whatever area the window gives it.
#pragma once

#include <cstdint>

namespace tavir {

// The largest multiple of the picture, 3 or 2, whose window (the picture plus `extraHeight`
// rows of menu) fits a desktop area of `desktopWidth` x `desktopHeight`; 1 when neither does.
int initialPictureScale(int32_t pictureWidth, int32_t pictureHeight, int32_t extraHeight,
                        int32_t desktopWidth, int32_t desktopHeight);

struct PictureRect {
    float x, y, width, height;
};

// The picture centred in an area, its aspect kept. With `integerScaling` it is the largest
// whole multiple that fits, so every MSX pixel is the same number of screen pixels; below
// one whole multiple (a small window) it shrinks to fit instead of being cut.
PictureRect placePicture(float areaWidth, float areaHeight, int32_t pictureWidth,
                         int32_t pictureHeight, bool integerScaling);

}  // namespace tavir
