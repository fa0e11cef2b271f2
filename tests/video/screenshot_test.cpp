// Screenshots' names: the first free "TAVIRnnn.bmp" from the run's counter on (the golden
// runs hash the pictures themselves at both sizes).
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

    TemporaryWorkingDirectory directory_;
};

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
