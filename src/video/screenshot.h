// Screenshots: the frame buffer as a 24-bit BMP in the working directory, named
// "TAVIR000.bmp", "TAVIR001.bmp", ... from a counter kept for the whole run.
#pragma once

#include <cstdint>

namespace tavir {

struct ScreenshotState {
    uint16_t counter;  // the three digits of the next name tried, 0-999
};

extern ScreenshotState screenshot;

// Writes the picture under the first free name from the counter on. When all 1000 names
// are taken, or the file can't be created, nothing is written.
void saveScreenshot();

// The picture as a 24-bit BMP at `path`. False if there is no picture or the file can't
// be written.
bool writeScreenshotFile(const char* path);

// "TAVIRnnn.bmp" for a counter value; `name` holds at least 13 bytes.
void screenshotFileName(uint16_t counter, char* name);

}  // namespace tavir
