#include "video/line_background.h"

#include <algorithm>
#include <cstring>

#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

constexpr int kFirstLine = 8, kLines = 240;

// One row per scan line, at most 640 pixels; the 640 x 480 picture's second row of a
// line is the same as its first below the sprites.
uint16_t keptRows[kLines][kLargeWidth];
bool kept[kLines];

// Per line, the dots of the 256-dot area sprites covered since the row was kept or put back.
struct DotSpan {
    int16_t first, end;
};
constexpr DotSpan kNoDots = {kActiveDots, 0};
DotSpan covered[kLines];

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
    covered[index] = kNoDots;
}

void noteSpriteDots(int first, int end) {
    const int index = lineIndex();
    if (index < 0) return;
    DotSpan& span = covered[index];
    span.first = static_cast<int16_t>(std::min<int>(span.first, first));
    span.end = static_cast<int16_t>(std::max<int>(span.end, end));
}

bool restoreLineBackground() {
    const int index = lineIndex();
    if (index < 0 || !kept[index]) return false;
    DotSpan& span = covered[index];
    if (span.first < span.end) {
        // Sprites sit after the left border; the horizontal adjust is a register, so it
        // is the same as when they were drawn.
        const int unit = display.displayMode == 0 ? 1 : 2;
        const int left = (kBorderDots + horizontalAdjust() + span.first) * unit;
        const size_t bytes = static_cast<size_t>((span.end - span.first) * unit) * sizeof(uint16_t);
        std::memcpy(upperRow(index) + left, keptRows[index] + left, bytes);
        if (unit == 2) std::memcpy(frameBufferRow(2 * index + 1) + left, keptRows[index] + left, bytes);
    }
    span = kNoDots;
    return true;
}

}  // namespace tavir
