// Screenshots: a 24-bit bottom-up BMP of exactly the frame buffer, under the first free
// name "TAVIRnnn.bmp" from the run's counter on.
#include "video/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

    static std::string read(const char* name) { return readTextFile(name); }

    static uint32_t le32(const std::string& bytes, size_t at) {
        return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
               static_cast<uint8_t>(bytes[at + 2]) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    }
    static uint16_t le16(const std::string& bytes, size_t at) {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                     static_cast<uint8_t>(bytes[at + 1]) << 8);
    }
    static int byteAt(const std::string& bytes, size_t at) {
        return static_cast<uint8_t>(bytes[at]);
    }

    TemporaryWorkingDirectory directory_;
};

TEST_F(ScreenshotTest, HeaderDescribesA320By240TwentyFourBitPicture) {
    saveScreenshot();
    const std::string bmp = read("TAVIR000.bmp");
    ASSERT_EQ(bmp.size(), 230454u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(le32(bmp, 2), 230454u);
    EXPECT_EQ(le32(bmp, 6), 0u);
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 320u);
    EXPECT_EQ(le32(bmp, 22), 240u);
    EXPECT_EQ(le16(bmp, 26), 1);
    EXPECT_EQ(le16(bmp, 28), 24);
    for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(le32(bmp, at), 0u) << at;
}

TEST_F(ScreenshotTest, TheLargePictureGivesA640By480File) {
    startVideo(1);
    saveScreenshot();
    const std::string bmp = read("TAVIR000.bmp");
    ASSERT_EQ(bmp.size(), 921654u);
    EXPECT_EQ(le32(bmp, 2), 921654u);
    EXPECT_EQ(le32(bmp, 18), 640u);
    EXPECT_EQ(le32(bmp, 22), 480u);
}

// Each primary scales to 0-255 as value x 255 / mask, truncated: 0x001A is blue 26 of 31
// -> 213; 0x8410 is red 0x8000 -> 131, green 0x400 -> 129, blue 0x10 -> 131.
TEST_F(ScreenshotTest, PixelsAreStoredBottomRowFirstAsBlueGreenRed) {
    frameBufferRow(0)[0] = kRed;
    frameBufferRow(0)[319] = 0x8410;
    frameBufferRow(239)[0] = 0x001A;
    frameBufferRow(239)[1] = kGreen;
    frameBufferRow(238)[0] = kWhite;
    saveScreenshot();
    const std::string bmp = read("TAVIR000.bmp");
    ASSERT_EQ(bmp.size(), 230454u);
    const size_t bottom = 54, second = 54 + 960, top = 54 + 239 * 960;
    EXPECT_EQ(byteAt(bmp, bottom + 0), 213);
    EXPECT_EQ(byteAt(bmp, bottom + 1), 0);
    EXPECT_EQ(byteAt(bmp, bottom + 2), 0);
    EXPECT_EQ(byteAt(bmp, bottom + 3), 0);
    EXPECT_EQ(byteAt(bmp, bottom + 4), 255);
    EXPECT_EQ(byteAt(bmp, bottom + 5), 0);
    EXPECT_EQ(byteAt(bmp, second + 0), 255);
    EXPECT_EQ(byteAt(bmp, second + 1), 255);
    EXPECT_EQ(byteAt(bmp, second + 2), 255);
    EXPECT_EQ(byteAt(bmp, top + 0), 0);
    EXPECT_EQ(byteAt(bmp, top + 1), 0);
    EXPECT_EQ(byteAt(bmp, top + 2), 255);
    EXPECT_EQ(byteAt(bmp, top + 319 * 3 + 0), 131);
    EXPECT_EQ(byteAt(bmp, top + 319 * 3 + 1), 129);
    EXPECT_EQ(byteAt(bmp, top + 319 * 3 + 2), 131);
}

TEST_F(ScreenshotTest, EachScreenshotTakesTheNextFreeName) {
    saveScreenshot();
    saveScreenshot();
    EXPECT_TRUE(std::filesystem::exists("TAVIR000.bmp"));
    EXPECT_TRUE(std::filesystem::exists("TAVIR001.bmp"));

    writeTextFile("TAVIR002.bmp", "someone else's");
    saveScreenshot();
    EXPECT_EQ(read("TAVIR002.bmp"), "someone else's");
    EXPECT_TRUE(std::filesystem::exists("TAVIR003.bmp"));
}

TEST_F(ScreenshotTest, TheNameSearchWrapsFrom999To000) {
    screenshot.counter = 999;
    writeTextFile("TAVIR999.bmp", "x");
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

TEST_F(ScreenshotTest, AFileThatCannotBeCreatedIsSkipped) {
    // A dangling link reads as a free name, but creating through it fails.
    std::filesystem::create_symlink("no-such-folder/picture.bmp", "TAVIR000.bmp");
    saveScreenshot();
    EXPECT_FALSE(std::filesystem::exists("no-such-folder"));
    EXPECT_FALSE(std::filesystem::exists("TAVIR001.bmp"));

    std::filesystem::remove("TAVIR000.bmp");
    saveScreenshot();
    EXPECT_EQ(std::filesystem::file_size("TAVIR000.bmp"), 230454u);
}

}  // namespace
}  // namespace tavir::testing
