#include "video/screen_renderer.h"

#include <algorithm>
#include <cstring>

#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/line_background.h"
#include "video/line_pixels.h"
#include "video/vdp_state.h"
#include "video/yjk_colours.h"

namespace tavir {

namespace {

constexpr int kFirstVisibleLine = 8;
constexpr int kLastVisibleLine = 247;

enum class BorderKind : uint8_t {
    kBackdrop,  // palette colour R#7 low nibble
    kGraphic5,  // two 2-bit colours side by side
    kGraphic7,  // R#7 as a direct colour byte
};

struct ModeRenderer {
    ActiveLineDecoder decode[2];  // by picture size
    BorderKind border;
    uint32_t interlacePageStep;  // the page below, for the first field; 0 = no interlace
    uint32_t pageSize;           // bitmap modes: the page pair of the two-page scroll
};

// Indexed by `screenMode`; modes without decoders (the gaps) are not drawn.
constexpr int kModeCount = 14;
constexpr ModeRenderer kModes[kModeCount] = {
    {{decodeText1<1>, decodeText1<2>}, BorderKind::kBackdrop, 0, 0},
    {{decodeGraphic1<1>, decodeGraphic1<2>}, BorderKind::kBackdrop, 0, 0},
    {{decodeGraphic23<1>, decodeGraphic23<2>}, BorderKind::kBackdrop, 0, 0},
    {{decodeMulticolour<1>, decodeMulticolour<2>}, BorderKind::kBackdrop, 0, 0},
    {{decodeGraphic23<1>, decodeGraphic23<2>}, BorderKind::kBackdrop, 0, 0},
    {{decodeGraphic4<1>, decodeGraphic4<2>}, BorderKind::kBackdrop, 0, 0x8000},
    {{decodeGraphic5<1>, decodeGraphic5<2>}, BorderKind::kGraphic5, 0x8000, 0x8000},
    {{decodeGraphic6<1>, decodeGraphic6<2>}, BorderKind::kBackdrop, 0x10000, 0x10000},
    {{decodeGraphic7<1>, decodeGraphic7<2>}, BorderKind::kGraphic7, 0, 0x10000},
    {{nullptr, nullptr}, BorderKind::kBackdrop, 0, 0},
    {{nullptr, nullptr}, BorderKind::kBackdrop, 0, 0},
    {{nullptr, nullptr}, BorderKind::kBackdrop, 0, 0},
    {{nullptr, nullptr}, BorderKind::kBackdrop, 0, 0},
    {{decodeText2<1>, decodeText2<2>}, BorderKind::kBackdrop, 0, 0},
};

// The V9958's YJK screens replace Graphic 7 when R#25 asks for them; the 256-dot picture
// means no colour averaging, and border and sprites stay as in Graphic 7.
constexpr ModeRenderer kYJK = {
    {decodeYJK<1, false>, decodeYJK<2, false>}, BorderKind::kGraphic7, 0, 0x10000};
constexpr ModeRenderer kYJKWithAttributes = {
    {decodeYJK<1, true>, decodeYJK<2, true>}, BorderKind::kGraphic7, 0, 0x10000};

const ModeRenderer& modeRenderer(uint8_t screenMode, uint8_t r25) {
    if (screenMode == kGraphic7 && (r25 & kR25YJK)) {
        return (r25 & kR25Attribute) ? kYJKWithAttributes : kYJK;
    }
    return kModes[screenMode];
}

// Border pixels alternate between `even` and `odd` (they differ only for Graphic 5 in
// the 640-pixel picture, where each border dot is two half-width dots).
struct BorderPixels {
    uint16_t even, odd;
};

BorderPixels borderPixels(BorderKind kind, int size) {
    const uint8_t r7 = vdp.vdpRegister[7];
    switch (kind) {
        case BorderKind::kGraphic5: {
            const uint16_t left = vdp.drawPalette[(r7 >> 2) & 3];
            const uint16_t right = vdp.drawPalette[r7 & 3];
            if (size == 0) {
                const uint16_t mixed = mergeColours(left, right);
                return {mixed, mixed};
            }
            return {left, right};
        }
        case BorderKind::kGraphic7: return {vdp.directColour[r7], vdp.directColour[r7]};
        case BorderKind::kBackdrop:
        default: return {vdp.drawPalette[r7 & 15], vdp.drawPalette[r7 & 15]};
    }
}

// Borders of the 640-pixel picture start at even positions, so the pairs line up.
void fillBorder(uint16_t* out, int pixels, BorderPixels border) {
    if (border.even == border.odd) {  // all but Graphic 5 at 640: a plain fill
        std::fill_n(out, pixels, border.even);
        return;
    }
    for (int i = 0; i < pixels; ++i) out[i] = (i & 1) ? border.odd : border.even;
}

void fillRow(uint16_t* row, int width, uint16_t pixel) {
    std::fill_n(row, width, pixel);
}

// The dot of the active line at the picture's left edge: R#26 scrolls by 8 dots (six
// bits when the V9958's two-page scroll puts the odd page to the right of the even one,
// `span` 512 dots), R#27 back by 0-7.
int scrollStart(int span) {
    const uint8_t* r = vdp.vdpRegister;
    const int coarse = r[26] & (span == 2 * kActiveDots ? 63 : 31);
    return (8 * coarse - (r[27] & 7)) & (span - 1);
}

// The left and right borders around an active area already in place, and MSK's cover
// over its left eight dots, where a scroll shows its seam.
void drawBorders(uint16_t* row, int unit, BorderPixels border) {
    const int h = horizontalAdjust();
    const int left = (kBorderDots + h) * unit;
    fillBorder(row, left, border);
    uint16_t* area = row + left;
    if (vdp.vdpRegister[25] & kR25MaskLeft) fillBorder(area, 8 * unit, border);
    fillBorder(area + kActiveDots * unit, (kBorderDots - h) * unit, border);
}

uint16_t* activeArea(uint16_t* row, int unit) {
    return row + (kBorderDots + horizontalAdjust()) * unit;
}

// The active dots rotated by the horizontal scroll, between the borders. Every position
// of the active area is written once, so the picture wraps around inside it and the
// borders stay where they are.
void composeRow(uint16_t* row, const uint16_t* active, int unit, BorderPixels border, int span) {
    const int start = scrollStart(span);
    const int firstRun = std::min(kActiveDots, span - start);
    uint16_t* area = activeArea(row, unit);
    std::copy(active + start * unit, active + (start + firstRun) * unit, area);
    std::copy(active, active + (kActiveDots - firstRun) * unit, area + firstRun * unit);
    drawBorders(row, unit, border);
}

}  // namespace

bool frameBufferReady() {
    const FrameBuffer& f = frameBuffer;
    if (f.pixels == nullptr) return false;
    switch (display.displayMode) {
        case 0:
            return f.width == kSmallWidth && f.height >= kSmallHeight && f.pitch >= 2 * kSmallWidth;
        case 1:
            return f.width == kLargeWidth && f.height >= kLargeHeight && f.pitch >= 2 * kLargeWidth;
        default: return false;  // other sizes are not drawn
    }
}

void renderLine() {
    forgetLineBackground();
    if (!display.renderEnabled) return;
    const int line = vdp.scanLine;
    if (line < kFirstVisibleLine || line > kLastVisibleLine) return;
    if (!frameBufferReady() || vdp.vram == nullptr) return;
    const int size = display.displayMode;
    const int unit = size + 1;
    const int width = kSmallWidth * unit;
    const uint8_t* r = vdp.vdpRegister;

    uint16_t* upper = frameBufferRow((line - kFirstVisibleLine) * unit);
    uint16_t* lower = size == 0 ? nullptr : frameBufferRow((line - kFirstVisibleLine) * 2 + 1);

    if (!(r[1] & kR1DisplayEnable)) {
        fillRow(upper, width, vdp.drawPalette[0]);
        if (lower) fillRow(lower, width, vdp.drawPalette[0]);
        return;
    }
    if (vdp.screenMode >= kModeCount) return;
    const ModeRenderer& mode = modeRenderer(vdp.screenMode, r[25]);
    const ActiveLineDecoder decode = mode.decode[size];
    if (decode == nullptr) return;

    // Interlace: the even field fills the upper row of each pair (from the page below the
    // selected one when R#2 bit 5 asks for alternating pages), the odd field the lower row,
    // and only once an even field is in the buffer.
    uint32_t pageDrop = 0;
    if (size == 1 && mode.interlacePageStep != 0 &&
        (r[9] & (kR9Interlace | kR9EvenOddPages)) == (kR9Interlace | kR9EvenOddPages)) {
        if (!(vdp.vdpStatus[2] & kS2OddField)) {
            lower = nullptr;
            display.otherFieldDrawn = 1;
            if (r[2] & 0x20) pageDrop = mode.interlacePageStep;
        } else {
            if (!display.otherFieldDrawn) return;
            upper = lower;
            lower = nullptr;
        }
    }

    const BorderPixels border = borderPixels(mode.border, size);
    const int row = displayRow(line);
    if (!insideDisplay(row)) {
        fillBorder(upper, width, border);
    } else {
        uint16_t active[2 * kActivePixelsMax];
        const int vramLine = (row + r[23]) & 0xFF;
        if ((r[25] & kR25TwoPages) && mode.pageSize != 0) {
            // The even page of the pair (lowest page bit clear) on the left, the odd one
            // on its right.
            const uint32_t even = pageDrop + ((r[2] & 0x20) ? mode.pageSize : 0);
            decode(vramLine, even, active);
            decode(vramLine, even - mode.pageSize, active + kActiveDots * unit);
            composeRow(upper, active, unit, border, 2 * kActiveDots);
        } else if (scrollStart(kActiveDots) == 0) {
            // Unscrolled, the decoder's line is the picture as it stands: straight into
            // the row, without the copy.
            decode(vramLine, pageDrop, activeArea(upper, unit));
            drawBorders(upper, unit, border);
        } else {
            decode(vramLine, pageDrop, active);
            composeRow(upper, active, unit, border, kActiveDots);
        }
    }
    if (lower) std::memcpy(lower, upper, width * sizeof(uint16_t));
}

}  // namespace tavir
