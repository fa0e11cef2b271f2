#include "video/line_background.h"

#include <cstring>

#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr int kFirstLine = 8, kLines = 240;

// One row per scan line, at most 640 pixels; the 640 x 480 picture's second row of a
// line is the same as its first below the sprites.
uint16_t keptRows[kLines][kLargeWidth];
bool kept[kLines];

// The frame buffer row of the line, or -1 outside the visible lines.
int lineIndex() {
    const int index = vdp.scanLine - kFirstLine;
    return index >= 0 && index < kLines ? index : -1;
}

size_t rowBytes() {
    return static_cast<size_t>(display.displayMode == 0 ? kSmallWidth : kLargeWidth) *
           sizeof(uint16_t);
}

uint16_t* upperRow(int index) {
    return frameBufferRow(display.displayMode == 0 ? index : 2 * index);
}

}  // namespace

void forgetLineBackground() {
    const int index = lineIndex();
    if (index >= 0) kept[index] = false;
}

void keepLineBackground() {
    const int index = lineIndex();
    if (index < 0 || kept[index]) return;
    std::memcpy(keptRows[index], upperRow(index), rowBytes());
    kept[index] = true;
}

bool restoreLineBackground() {
    const int index = lineIndex();
    if (index < 0 || !kept[index]) return false;
    std::memcpy(upperRow(index), keptRows[index], rowBytes());
    if (display.displayMode != 0) std::memcpy(frameBufferRow(2 * index + 1), keptRows[index], rowBytes());
    return true;
}

}  // namespace tavir
