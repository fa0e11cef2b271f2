#include "core/vdp_line.h"

#include "core/frame_end.h"
#include "core/frame_pacing.h"
#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/line_background.h"
#include "video/line_sources.h"
#include "video/picture_changes.h"
#include "video/screen_renderer.h"
#include "video/sprites.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

// Per scan line, the count of pictureChanges when the line was last drawn (or found to
// be as drawn).
uint64_t drawnAt[256];

enum class LineWork {
    kNone,     // the frame buffer holds the line as drawing it now would give
    kSprites,  // only its sprites changed: its background may be put back as it was
    kAll,
};

// An interlaced picture alternates its rows, so it is always drawn.
LineWork lineWork(unsigned line, bool interlaced) {
    const uint64_t since = drawnAt[line];
    if (interlaced) return LineWork::kAll;
    if (since == pictureChanges.count) return LineWork::kNone;
    if (backgroundChangedSince(since)) return LineWork::kAll;
    // Sprites moved: only lines they leave or reach need drawing.
    if (spriteTablesChangedSince(since) && spritesOnLine()) return LineWork::kSprites;
    drawnAt[line] = pictureChanges.count;
    return LineWork::kNone;
}

// Draws what the line needs; false when it is in the frame buffer already.
bool drawLine(unsigned line, bool interlaced) {
    const LineWork work = lineWork(line, interlaced);
    if (work == LineWork::kNone) return false;
    drawnAt[line] = pictureChanges.count;
    if (work == LineWork::kAll || !restoreLineBackground()) renderLine();
    return true;
}

// The vertical display adjust of R#18's high nibble, as this machine applies it: 8 to 1
// lines when bit 7 is set, 0 to -7 lines otherwise.
int verticalAdjust(uint8_t r18) {
    const int nibble = r18 >> 4;
    return (r18 & kR18AdjustUp) ? 16 - nibble : -nibble;
}

}  // namespace

void vdpLine(CPUState& cpu) {
    const uint8_t* r = vdp.vdpRegister;
    const int adjust = verticalAdjust(r[18]);
    const unsigned line = vdp.scanLine;

    // Line interrupt. The configured offset tunes it to the host's idea of the picture,
    // but only while the program has not set an adjust of its own with bit 7. Unsigned
    // arithmetic: any offset wraps into the 8-bit line compare without overflow.
    unsigned lineAdjust = static_cast<unsigned>(adjust);
    if (!(r[18] & kR18AdjustUp)) lineAdjust -= static_cast<unsigned>(settings.HInterruptOffset);
    if (((lineAdjust + line + r[23] - 24u) & 0xFF) == r[19] && (r[0] & kR0LineInterruptEnable)) {
        vdp.vdpStatus[1] |= kS1LineInterrupt;
        cpu.pendingVector = kInterruptVector;
    }

    // Skipped frames are emulated but not drawn; the second field of an interlaced
    // picture is drawn whenever the first one is in the buffer.
    bool draw = framePacing.drawThisFrame || display.otherFieldDrawn;
    if (draw) {
        // A line that nothing could have changed since it was last drawn is in the frame
        // buffer already. The sprites' status reports below are made all the same.
        draw = drawLine(line, r[9] & kR9Interlace);
    }
    spriteLine(draw);

    // Vertical blanking starts after the last display line: 192 or 212 lines below the top.
    const unsigned blankStart =
        ((r[9] & kR9Lines212) ? 0xEAu : 0xE0u) + static_cast<unsigned>(adjust);
    if (line == (blankStart & 0xFF)) {
        vdp.vdpStatus[0] |= kS0Frame;
        if (r[1] & kR1FrameInterruptEnable) cpu.pendingVector = kInterruptVector;
    }

    // ... and ends before the next frame's display; any request still standing is dropped.
    const unsigned blankEnd =
        ((r[9] & kR9Lines212) ? 0x16u : 0x20u) + static_cast<unsigned>(adjust);
    if (line == (blankEnd & 0xFF)) {
        vdp.vdpStatus[0] &= static_cast<uint8_t>(~(kS0Frame | kS0Collision));
        cpu.pendingVector = kNoInterrupt;
    }

    vdp.scanLine = static_cast<uint8_t>(line + 1);
    if (vdp.scanLine == 0) endFrame();
}

}  // namespace tavir
