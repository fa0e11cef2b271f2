#include "frontend/window_geometry.h"

#include <algorithm>
#include <cmath>

namespace tavir {

int initialPictureScale(int32_t pictureWidth, int32_t pictureHeight, int32_t extraHeight,
                        int32_t desktopWidth, int32_t desktopHeight) {
    // Beyond 3x the picture is only bigger, not clearer; a desktop may still be maximised.
    for (int scale = 3; scale >= 2; --scale) {
        if (pictureWidth * scale <= desktopWidth &&
            pictureHeight * scale + extraHeight <= desktopHeight)
            return scale;
    }
    return 1;
}

PictureRect placePicture(float areaWidth, float areaHeight, int32_t pictureWidth,
                         int32_t pictureHeight, bool integerScaling) {
    if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return PictureRect{0, 0, 0, 0};
    float scale = std::min(areaWidth / static_cast<float>(pictureWidth),
                           areaHeight / static_cast<float>(pictureHeight));
    if (integerScaling && scale >= 1) scale = std::floor(scale);
    const float width = pictureWidth * scale, height = pictureHeight * scale;
    // Whole screen pixels for the corner, so that integer scaling stays sharp.
    return PictureRect{std::floor((areaWidth - width) / 2), std::floor((areaHeight - height) / 2),
                       width, height};
}

}  // namespace tavir
