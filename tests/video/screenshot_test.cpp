// Screenshots: a 24-bit bottom-up BMP of exactly the frame buffer, under the first free
// name "TAVIRnnn.bmp" from the run's counter on.
#include "video/screenshot.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <utility>

#include "support/machine_fixture.h"
#include "video/vdp_fixture.h"

namespace tavir::testing {
namespace {

class ScreenshotTest : public VDPTest {
protected:
    void SetUp() override {
        VDPTest::SetUp();
        screenshot.counter = 0;
    }

    // The little-endian number of `size` bytes at `at`.
    static uint32_t number(const std::string& bytes, size_t at, int size) {
        uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
        return value;
    }

    TemporaryWorkingDirectory directory_;
};

// Pixels go bottom row first as blue, green, red; each primary scales to 0-255 as
// value x 255 / mask, truncated: 0x001A is blue 26 of 31 -> 213; 0x8410 is red 0x8000 ->
// 131, green 0x400 -> 129, blue 0x10 -> 131.
TEST_F(ScreenshotTest, HeaderAndPixelsDescribeATwentyFourBitBottomUpPicture) {
    struct Case {
        uint8_t displayMode;
        uint32_t size, width, height;
    };
    for (const Case c : {Case{0, 230454, 320, 240}, Case{1, 921654, 640, 480}}) {
        startVideo(c.displayMode);
        std::filesystem::remove("TAVIR000.bmp");
        screenshot.counter = 0;
        const int w = static_cast<int>(c.width), h = static_cast<int>(c.height);
        frameBufferRow(0)[0] = kRed;
        frameBufferRow(0)[w - 1] = 0x8410;
        frameBufferRow(h - 1)[0] = 0x001A;
        frameBufferRow(h - 1)[1] = kGreen;
        frameBufferRow(h - 2)[0] = kWhite;
        saveScreenshot();
        const std::string bmp = readTextFile("TAVIR000.bmp");
        ASSERT_EQ(bmp.size(), c.size);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        struct Field {
            size_t at;
            int size;
            uint32_t value;
        };
        // File size, reserved, data offset, header size, width, height, planes, bits.
        const Field fields[] = {{2, 4, c.size},   {6, 4, 0},         {10, 4, 54}, {14, 4, 40},
                                {18, 4, c.width}, {22, 4, c.height}, {26, 2, 1},  {28, 2, 24}};
        for (const Field& f : fields) EXPECT_EQ(number(bmp, f.at, f.size), f.value) << f.at;
        for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(number(bmp, at, 4), 0u) << at;

        const size_t bottom = 54, second = 54 + 3 * c.width, top = 54 + (h - 1) * 3 * c.width;
        const std::pair<size_t, std::array<uint32_t, 3>> pixels[] = {
            {bottom, {213, 0, 0}},
            {bottom + 3, {0, 255, 0}},
            {second, {255, 255, 255}},
            {top, {0, 0, 255}},
            {top + (w - 1) * 3, {131, 129, 131}},
        };
        for (const auto& [at, bgr] : pixels) {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(number(bmp, at + i, 1), bgr[i]) << at << " " << i;
        }
    }
}

// The first free name from the counter on, wrapping from 999 to 000.
TEST_F(ScreenshotTest, EachScreenshotTakesTheNextFreeName) {
    saveScreenshot();
    writeTextFile("TAVIR001.bmp", "someone else's");
    saveScreenshot();
    EXPECT_TRUE(std::filesystem::exists("TAVIR000.bmp"));
    EXPECT_EQ(readTextFile("TAVIR001.bmp"), "someone else's");
    EXPECT_EQ(std::filesystem::file_size("TAVIR002.bmp"), 230454u);

    screenshot.counter = 999;
    writeTextFile("TAVIR999.bmp", "x");
    std::filesystem::remove("TAVIR000.bmp");
    saveScreenshot();
    EXPECT_EQ(std::filesystem::file_size("TAVIR000.bmp"), 230454u);
    EXPECT_EQ(screenshot.counter, 0);
}

TEST_F(ScreenshotTest, WithAllThousandNamesTakenNothingIsWritten) {
    char name[16];
    for (uint16_t i = 0; i < 1000; ++i) {
        screenshotFileName(i, name);
        writeTextFile(name, "");
    }
    screenshot.counter = 500;
    saveScreenshot();  // returns instead of searching forever
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        ++files;
        EXPECT_EQ(entry.file_size(), 0u) << entry.path();
    }
    EXPECT_EQ(files, 1000u);
}

}  // namespace
}  // namespace tavir::testing
