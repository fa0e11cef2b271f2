#include "video/screenshot.h"

#include <cstdio>

#include "core/screen_message.h"
#include "video/frame_buffer.h"

namespace tavir {

ScreenshotState screenshot;

namespace {

constexpr int kNameCount = 1000;
constexpr uint32_t kHeaderSize = 54;  // 14-byte file header + 40-byte information header

void put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    put16(at, static_cast<uint16_t>(value));
    put16(at + 2, static_cast<uint16_t>(value >> 16));
}

bool nameTaken(const char* name) {
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// Full intensity of a primary becomes 255 whatever its bit width.
uint8_t scaleToByte(uint16_t pixel, uint16_t mask) {
    return mask == 0 ? 0 : static_cast<uint8_t>((pixel & mask) * 255u / mask);
}

}  // namespace

void screenshotFileName(uint16_t counter, char* name) {
    std::snprintf(name, 13, "TAVIR%03u.bmp", static_cast<unsigned>(counter % kNameCount));
}

void saveScreenshot() {
    char name[16];
    screenshotFileName(screenshot.counter, name);
    int tries = 1;
    while (nameTaken(name)) {
        if (tries == kNameCount) {  // every name is taken
            showScreenMessage("No screenshot: TAVIR000.bmp to TAVIR999.bmp all exist");
            return;
        }
        screenshot.counter = static_cast<uint16_t>((screenshot.counter + 1) % kNameCount);
        screenshotFileName(screenshot.counter, name);
        ++tries;
    }

    if (writeScreenshotFile(name))
        showScreenMessage("Screenshot %s written", name);
    else
        showScreenMessage("Screenshot %s could not be written", name);
}

bool writeScreenshotFile(const char* path) {
    const FrameBuffer& f = frameBuffer;
    if (f.pixels == nullptr || f.width <= 0 || f.width > kLargeWidth || f.height <= 0) return false;
    const uint32_t width = static_cast<uint32_t>(f.width);
    const uint32_t height = static_cast<uint32_t>(f.height);
    // BMP rows are whole multiples of four bytes; 320 and 640 pixels need no padding.
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;

    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;

    uint8_t header[kHeaderSize] = {'B', 'M'};
    put32(header + 2, rowBytes * height + kHeaderSize);
    put32(header + 10, kHeaderSize);
    put32(header + 14, 40);
    put32(header + 18, width);
    put32(header + 22, height);  // positive: the bottom row comes first
    put16(header + 26, 1);
    put16(header + 28, 24);
    std::fwrite(header, 1, sizeof header, file);

    uint8_t bgr[kLargeWidth * 3 + 3] = {};
    for (int32_t y = f.height - 1; y >= 0; --y) {
        const uint16_t* row = frameBufferRow(y);
        for (uint32_t x = 0; x < width; ++x) {
            bgr[3 * x] = scaleToByte(row[x], f.blueMask);
            bgr[3 * x + 1] = scaleToByte(row[x], f.greenMask);
            bgr[3 * x + 2] = scaleToByte(row[x], f.redMask);
        }
        std::fwrite(bgr, 1, rowBytes, file);
    }
    const bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}

}  // namespace tavir
