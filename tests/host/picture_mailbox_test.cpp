// The picture hand-over between the threads: the main thread always gets the newest
// finished picture, once, packed, whatever the frame buffer's pitch.
#include "host/desktop/picture_mailbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavir {
namespace {

// A 320 x 240 picture with a padded pitch, every pixel telling its row, column and frame.
std::vector<uint16_t> makeFrame(int frame, int width, int height, int pitchPixels) {
    std::vector<uint16_t> pixels(static_cast<size_t>(pitchPixels) * height, 0xDEAD);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * pitchPixels + x] = static_cast<uint16_t>(frame * 1000 + y * 3 + x);
    return pixels;
}

void post(const std::vector<uint16_t>& pixels, int width, int height, int pitchPixels) {
    postPicture(reinterpret_cast<const uint8_t*>(pixels.data()), pitchPixels * 2, width, height);
}

TEST(PictureMailbox, TheNewestPictureIsTakenOnceAndPacked) {
    while (takeNewestPicture() != nullptr) {
    }
    post(makeFrame(1, 320, 240, 336), 320, 240, 336);
    post(makeFrame(2, 320, 240, 336), 320, 240, 336);  // the main thread was late
    const Picture* picture = takeNewestPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 320);
    EXPECT_EQ(picture->height, 240);
    EXPECT_EQ(picture->pixels[0], 2000);
    EXPECT_EQ(picture->pixels[319], 2000 + 319);
    EXPECT_EQ(picture->pixels[320], 2000 + 3) << "rows are packed, the pitch's padding dropped";
    EXPECT_EQ(picture->pixels[239 * 320 + 319], 2000 + 239 * 3 + 319);
    EXPECT_EQ(takeNewestPicture(), nullptr) << "nothing new since";
}

TEST(PictureMailbox, APictureTakenStaysIntactWhileTheNextOnesArrive) {
    while (takeNewestPicture() != nullptr) {
    }
    post(makeFrame(3, 640, 480, 640), 640, 480, 640);
    const Picture* shown = takeNewestPicture();
    ASSERT_NE(shown, nullptr);
    post(makeFrame(4, 640, 480, 640), 640, 480, 640);
    post(makeFrame(5, 640, 480, 640), 640, 480, 640);
    EXPECT_EQ(shown->pixels[100], 3100) << "the emulation thread wrote into the shown picture";
    const Picture* next = takeNewestPicture();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->pixels[100], 5100);
}

TEST(PictureMailbox, AStillScreenIsPostedOnce) {
    const std::vector<uint16_t> a = makeFrame(6, 320, 240, 320), b = makeFrame(7, 320, 240, 320);
    auto post = [](const std::vector<uint16_t>& pixels, int width) {
        return postPicture(reinterpret_cast<const uint8_t*>(pixels.data()), 640, width, 240);
    };
    post(b, 320);
    EXPECT_TRUE(post(a, 320));
    EXPECT_FALSE(post(a, 320)) << "the same picture again";
    EXPECT_TRUE(post(a, 300)) << "the same pixels in another geometry";
    EXPECT_TRUE(post(b, 320));
    const Picture* picture = takeNewestPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixels[0], 7000);
    EXPECT_FALSE(post(b, 320));
    EXPECT_EQ(takeNewestPicture(), nullptr) << "nothing new since";
}

}  // namespace
}  // namespace tavir
