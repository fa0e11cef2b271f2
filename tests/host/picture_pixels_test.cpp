// The picture as the window's buffer holds it: RGB565 widened to 8 bits per channel with
// black and full intensity exact, and the rows in OpenGL's bottom-up order.
#include "host/desktop/picture_pixels.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavir {
namespace {

TEST(PicturePixels, ColoursWidenExactlyAndTheLastRowComesFirst) {
    auto picture = std::make_unique<Picture>();
    picture->width = 3;
    picture->height = 2;
    // Top row: white, full red, black; bottom row: full blue, green 32 of 63, red 1 of 31.
    const uint16_t rows[6] = {0xFFFF, 0xF800, 0x0000, 0x001F, 0x0400, 0x0800};
    std::copy(rows, rows + 6, picture->pixels);
    PicturePixels out;
    convertPicture(*picture, out);
    ASSERT_EQ(out.width, 3);
    ASSERT_EQ(out.height, 2);
    // 6-bit 32 = 100000b widens to 10000010b = 0x82; 5-bit 1 = 00001b to 00001000b = 0x08.
    const uint32_t expected[6] = {0xFF0000FF, 0xFF008200, 0xFF080000,
                                  0xFFFFFFFF, 0xFFFF0000, 0xFF000000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out.pixels[i], expected[i]) << "pixel " << i;
}

}  // namespace
}  // namespace tavir
