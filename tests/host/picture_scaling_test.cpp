// The picture enlarged into a window's pixels: each MSX pixel becomes a whole square, the
// padding beyond a row is left alone, and a later picture rewrites only what changed.
#include "host/desktop/picture_scaling.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavir {
namespace {

TEST(PictureScaling, EachPixelBecomesASquareAndOnlyChangedRowsAreRewritten) {
    auto picture = std::make_unique<Picture>();
    picture->width = 2;
    picture->height = 2;
    const uint16_t rows[4] = {0xF800, 0x001F, 0xFFFF, 0x0000};  // red, blue; white, black
    std::copy(rows, rows + 4, picture->pixels);
    constexpr int32_t kPitch = 8 * 4;  // 6 pixels a row and 2 of padding
    std::vector<uint32_t> window(8 * 6, 0x12345678);
    ShownRows shown;
    RowBand bands[4];
    auto* to = reinterpret_cast<uint8_t*>(window.data());
    ASSERT_EQ(enlargeChangedRows(*picture, 3, false, shown, to, kPitch, bands, 4), 1);
    EXPECT_EQ(bands[0].first, 0);
    EXPECT_EQ(bands[0].end, 2);
    EXPECT_EQ(bands[0].right, 2);
    const uint32_t red = 0xFFFF0000, blue = 0xFF0000FF, white = 0xFFFFFFFF, black = 0xFF000000;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const uint32_t expected = x >= 6  ? 0x12345678
                                      : y < 3 ? (x < 3 ? red : blue)
                                              : (x < 3 ? white : black);
            EXPECT_EQ(window[y * 8 + x], expected) << x << "," << y;
        }
    }
    // The bottom-left pixel turns blue: only its square is written again.
    window.assign(window.size(), 0);
    picture->pixels[2] = 0x001F;
    ASSERT_EQ(enlargeChangedRows(*picture, 3, false, shown, to, kPitch, bands, 4), 1);
    EXPECT_EQ(bands[0].first, 1);
    EXPECT_EQ(bands[0].end, 2);
    EXPECT_EQ(bands[0].left, 0);
    EXPECT_EQ(bands[0].right, 1);
    for (int i = 0; i < 8 * 6; ++i)
        EXPECT_EQ(window[i], i / 8 >= 3 && i % 8 < 3 ? blue : 0u) << "pixel " << i;
    EXPECT_EQ(enlargeChangedRows(*picture, 3, false, shown, to, kPitch, bands, 4), 0);
}

}  // namespace
}  // namespace tavir
