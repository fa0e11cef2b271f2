// The picture's place in the window, worked out by hand; the window's first size shows
// in the desktop program test's real window.
#include "frontend/window_geometry.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

TEST(WindowGeometry, ThePictureKeepsItsAspectInWholeMultiplesOrShrinksToFit) {
    const struct { float areaWidth, areaHeight; bool integer; PictureRect expected; } cases[] = {
        {960, 720, true, {0, 0, 960, 720}},
        {1000, 800, true, {20, 40, 960, 720}},    // 3x, centred
        {1000, 700, true, {180, 110, 640, 480}},  // 2x: 3x is 20 rows too tall
        {1000, 700, false, {33, 0, 933.333f, 700}},
        {160, 300, true, {0, 90, 160, 120}},  // below 1x: half size, no rows cut
    };
    for (const auto& c : cases) {
        const PictureRect r = placePicture(c.areaWidth, c.areaHeight, 320, 240, c.integer);
        SCOPED_TRACE(::testing::Message() << c.areaWidth << "x" << c.areaHeight);
        EXPECT_FLOAT_EQ(r.x, c.expected.x);
        EXPECT_FLOAT_EQ(r.y, c.expected.y);
        EXPECT_NEAR(r.width, c.expected.width, 0.01);
        EXPECT_NEAR(r.height, c.expected.height, 0.01);
    }
}

}  // namespace
}  // namespace tavir
