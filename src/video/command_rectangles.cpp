// The rectangle commands. FILL and COPY work dot by dot with a logical operation and run
// a loop made for each operation, T bit and dot packing, so the per-dot work is a few
// instructions; FFILL, FCOPY and HCOPY move whole bytes. Every rectangle is clipped to
// the plane before the first dot, so no loop can leave the 128 KB of VRAM.
#include <algorithm>
#include <cstring>

#include "video/command_dots.h"
#include "video/picture_changes.h"

namespace tavir {

namespace {

template <int DotsPerByte>
struct Packing {
    static constexpr int kBits = 8 / DotsPerByte;
    static constexpr uint8_t kMask = static_cast<uint8_t>((1 << kBits) - 1);
    static constexpr int shift(int x) {
        return (DotsPerByte - 1 - (x & (DotsPerByte - 1))) * kBits;
    }
    static uint8_t get(const uint8_t* line, int x) {
        return (line[x / DotsPerByte] >> shift(x)) & kMask;
    }
    template <uint8_t Op>
    static void put(uint8_t* line, int x, uint8_t s) {
        uint8_t& byte = line[x / DotsPerByte];
        if constexpr (DotsPerByte == 1) {
            byte = applyLogicalOperation(Op, s, byte);
        } else {
            const int at = shift(x);
            const uint8_t d = (byte >> at) & kMask;
            const uint8_t result = applyLogicalOperation(Op, s, d) & kMask;
            byte = static_cast<uint8_t>((byte & ~(kMask << at)) | (result << at));
        }
    }
};

struct Span {
    int32_t left, top, width, height;
};

const uint8_t* vramLine(int y, int bytesPerLine) {
    return vdp.vram + ((static_cast<uint32_t>(y) * bytesPerLine) & kVRAMMask);
}

// A line the command writes into: all of it counts as changed for the renderer.
uint8_t* writableLine(int y, int bytesPerLine) {
    const uint32_t start = (static_cast<uint32_t>(y) * bytesPerLine) & kVRAMMask;
    noteVRAMChange(start);
    noteVRAMChange(start + static_cast<uint32_t>(bytesPerLine) - 1);
    return vdp.vram + start;
}

// Bitwise operations work on all dots of a byte at once, so whole bytes inside the
// rectangle take the colour repeated in every dot; only the edges go dot by dot.
template <uint8_t Op, bool T, int DotsPerByte>
void fillLoop(const Span& r, uint8_t colour, int bytesPerLine) {
    // T with colour 0 never gets here, so T changes nothing inside the loop.
    using P = Packing<DotsPerByte>;
    const int left = r.left, right = r.left + r.width, top = r.top, bottom = r.top + r.height;
    const int firstWhole = (left + DotsPerByte - 1) / DotsPerByte, endWhole = right / DotsPerByte;
    const uint8_t packed = static_cast<uint8_t>(colour * (0xFF / P::kMask));
    for (int y = top; y < bottom; ++y) {
        uint8_t* line = writableLine(y, bytesPerLine);
        if (firstWhole >= endWhole) {
            for (int x = left; x < right; ++x) P::template put<Op>(line, x, colour);
            continue;
        }
        for (int x = left; x < firstWhole * DotsPerByte; ++x) P::template put<Op>(line, x, colour);
        for (int b = firstWhole; b < endWhole; ++b)
            line[b] = applyLogicalOperation(Op, packed, line[b]);
        for (int x = endWhole * DotsPerByte; x < right; ++x) P::template put<Op>(line, x, colour);
    }
}

struct CopySpan {
    int32_t sx, sy, dx, dy, nx, ny, stepX, stepY;
};

// The dots of a byte that are not 0, as a mask: where T lets the result in.
template <int DotsPerByte>
uint8_t nonzeroDots(uint8_t byte) {
    using P = Packing<DotsPerByte>;
    uint8_t mask = 0;
    for (int i = 0; i < DotsPerByte; ++i) {
        const uint8_t dot = static_cast<uint8_t>(P::kMask << (i * P::kBits));
        if (byte & dot) mask |= dot;
    }
    return mask;
}

// Source and destination may overlap: each dot is read just before its own write, in
// the order the directions give, as the chip does. Rightward, whole destination bytes in
// the middle are done at once: when both sides sit alike in their bytes this keeps that
// order, as a byte's dots are all read before any of them is written; when they sit
// differently each destination byte gathers its dots from two source bytes, which is
// only the same when source and destination lines differ.
template <uint8_t Op, bool T, int DotsPerByte>
void copyLoop(const CopySpan& c, uint8_t, int bytesPerLine) {
    using P = Packing<DotsPerByte>;
    const int sx0 = c.sx, dx0 = c.dx, nx = c.nx, ny = c.ny, stepX = c.stepX, stepY = c.stepY;
    const int offset = (sx0 - dx0) & (DotsPerByte - 1);  // source dots ahead within a byte
    const bool bytewise = DotsPerByte > 1 && stepX == 1 && (offset == 0 || c.sy != c.dy);
    const int head = bytewise ? std::min(nx, (DotsPerByte - dx0 % DotsPerByte) % DotsPerByte) : nx;
    const int wholeBytes = bytewise ? (nx - head) / DotsPerByte : 0;
    const int tail = nx - head - wholeBytes * DotsPerByte;
    const int up = offset * P::kBits, down = 8 - up;
    for (int row = 0; row < ny; ++row) {
        const uint8_t* source = vramLine(c.sy + row * stepY, bytesPerLine);
        uint8_t* destination = writableLine(c.dy + row * stepY, bytesPerLine);
        const auto dots = [&](int from, int count) {
            for (int i = 0, sx = sx0 + from * stepX, dx = dx0 + from * stepX; i < count;
                 ++i, sx += stepX, dx += stepX) {
                const uint8_t s = P::get(source, sx);
                if (T && s == 0) continue;
                P::template put<Op>(destination, dx, s);
            }
        };
        dots(0, head);
        // The last whole byte's dots end inside the run, so a second source byte read
        // here is still on the line.
        const int sb = (sx0 + head) / DotsPerByte, db = (dx0 + head) / DotsPerByte;
        for (int i = 0; i < wholeBytes; ++i) {
            const uint8_t s =
                offset == 0
                    ? source[sb + i]
                    : static_cast<uint8_t>(source[sb + i] << up | source[sb + i + 1] >> down);
            const uint8_t d = destination[db + i];
            const uint8_t result = applyLogicalOperation(Op, s, d);
            const uint8_t keep = T ? static_cast<uint8_t>(~nonzeroDots<DotsPerByte>(s)) : 0;
            destination[db + i] = static_cast<uint8_t>((result & ~keep) | (d & keep));
        }
        dots(head + wholeBytes * DotsPerByte, tail);
    }
}

// Picks the loop made for the operation, the T bit and the packing. NOP (5-7) leaves
// every dot as it is, so it runs no loop at all.
template <typename Area, template <uint8_t, bool, int> class Loop>
struct LoopTable {
    using Function = void (*)(const Area&, uint8_t, int);
    template <uint8_t Op, bool T>
    static Function byPacking(int dotsPerByte) {
        switch (dotsPerByte) {
            case 1: return Loop<Op, T, 1>::run;
            case 2: return Loop<Op, T, 2>::run;
            default: return Loop<Op, T, 4>::run;
        }
    }
    template <uint8_t Op>
    static Function byT(bool t, int dotsPerByte) {
        return t ? byPacking<Op, true>(dotsPerByte) : byPacking<Op, false>(dotsPerByte);
    }
    static Function pick(uint8_t command, int dotsPerByte) {
        const bool t = command & kCommandTransparent;
        switch (command & 7) {
            case kOpSET: return byT<kOpSET>(t, dotsPerByte);
            case kOpAND: return byT<kOpAND>(t, dotsPerByte);
            case kOpOR: return byT<kOpOR>(t, dotsPerByte);
            case kOpXOR: return byT<kOpXOR>(t, dotsPerByte);
            case kOpNOT: return byT<kOpNOT>(t, dotsPerByte);
            default: return nullptr;
        }
    }
};

template <uint8_t Op, bool T, int DotsPerByte>
struct FillLoop {
    static void run(const Span& r, uint8_t colour, int bytesPerLine) {
        fillLoop<Op, T, DotsPerByte>(r, colour, bytesPerLine);
    }
};
template <uint8_t Op, bool T, int DotsPerByte>
struct CopyLoop {
    static void run(const CopySpan& c, uint8_t colour, int bytesPerLine) {
        copyLoop<Op, T, DotsPerByte>(c, colour, bytesPerLine);
    }
};

// A rectangle given by its start corner and size along DIX/DIY, as the fill commands
// take it: size 0 is the whole side, a side that would cross the plane's near edge is
// cut there (its far end stays at the start corner), one that would pass the far edge is
// cut at the far edge.
void clipSide(int32_t& start, int32_t& size, bool backward, int32_t limit) {
    if (size == 0) {
        size = limit;
        start = backward ? limit - 1 : 0;
    }
    if (backward) {
        start = start - size + 1;
        if (start < 0) {
            size += start;
            start = 0;
        }
    }
    size = std::min(size, limit - start);
}

// The copy commands' cut: the run may not pass the plane's edge from either end.
int32_t copyRun(int32_t size, int32_t from, int32_t to, bool backward, int32_t limit) {
    if (backward) return std::min({size, from + 1, to + 1});
    return std::min({size, limit - from, limit - to});
}

}  // namespace

void fillRectangle(const CommandGeometry& g, const CommandRegisters& c, uint8_t command) {
    if ((command & kCommandTransparent) && c.colour == 0) return;
    Span r{c.dx, c.dy, c.nx, c.ny};
    clipSide(r.left, r.width, c.argument & kR45Leftward, g.width);
    clipSide(r.top, r.height, c.argument & kR45Upward, g.height);
    const auto loop = LoopTable<Span, FillLoop>::pick(command, g.dotsPerByte);
    if (loop) loop(r, c.colour, g.bytesPerLine);
}

void copyRectangle(const CommandGeometry& g, const CommandRegisters& c, uint8_t command) {
    const bool leftward = c.argument & kR45Leftward;
    const bool upward = c.argument & kR45Upward;
    CopySpan s{c.sx, c.sy, c.dx, c.dy, c.nx, c.ny, leftward ? -1 : 1, upward ? -1 : 1};
    if (s.nx == 0) {
        s.nx = g.width;
        s.sx = s.dx = leftward ? g.width - 1 : 0;
    }
    if (s.ny == 0) {
        s.ny = g.height;
        s.sy = s.dy = upward ? g.height - 1 : 0;
    }
    s.nx = copyRun(s.nx, s.sx, s.dx, leftward, g.width);
    s.ny = copyRun(s.ny, s.sy, s.dy, upward, g.height);
    const auto loop = LoopTable<CopySpan, CopyLoop>::pick(command, g.dotsPerByte);
    if (loop) loop(s, 0, g.bytesPerLine);
}

void fillBytes(const CommandGeometry& g, const CommandRegisters& c) {
    Span r{c.dx / g.dotsPerByte, c.dy, c.nx / g.dotsPerByte, c.ny};
    // A byte count of 0 is the whole line from byte 0, whatever DIX says; likewise NY.
    const bool leftward = (c.argument & kR45Leftward) && r.width != 0;
    const bool upward = (c.argument & kR45Upward) && r.height != 0;
    if (r.width == 0) r.left = 0;
    if (r.height == 0) r.top = 0;
    clipSide(r.left, r.width, leftward, g.bytesPerLine);
    clipSide(r.top, r.height, upward, g.height);
    const uint8_t value = vdp.vdpRegister[44];
    for (int y = r.top; y < r.top + r.height; ++y) {
        std::memset(writableLine(y, g.bytesPerLine) + r.left, value, static_cast<size_t>(r.width));
    }
}

void copyBytes(const CommandGeometry& g, const CommandRegisters& c) {
    const bool leftward = c.argument & kR45Leftward;
    const bool upward = c.argument & kR45Upward;
    int32_t from = c.sx / g.dotsPerByte, to = c.dx / g.dotsPerByte, count = c.nx / g.dotsPerByte;
    int32_t sy = c.sy, dy = c.dy, ny = c.ny;
    if (count == 0) {
        count = g.bytesPerLine;
        from = to = leftward ? g.bytesPerLine - 1 : 0;
    }
    if (ny == 0) {
        ny = g.height;
        sy = dy = upward ? g.height - 1 : 0;
    }
    count = copyRun(count, from, to, leftward, g.bytesPerLine);
    ny = copyRun(ny, sy, dy, upward, g.height);
    const int stepY = upward ? -1 : 1;
    for (int row = 0; row < ny; ++row) {
        const uint8_t* source = vramLine(sy + row * stepY, g.bytesPerLine);
        uint8_t* destination = writableLine(dy + row * stepY, g.bytesPerLine);
        // One byte at a time in the command's direction: an overlap repeats bytes the
        // way the chip's own order does.
        if (leftward) {
            for (int i = 0; i < count; ++i) destination[to - i] = source[from - i];
        } else {
            for (int i = 0; i < count; ++i) destination[to + i] = source[from + i];
        }
    }
}

void copyLineParts(const CommandGeometry& g, const CommandRegisters& c) {
    const bool leftward = c.argument & kR45Leftward;
    const bool upward = c.argument & kR45Upward;
    const int32_t first = c.dx / g.dotsPerByte;
    const int32_t count = leftward ? first + 1 : g.bytesPerLine - first;
    const int32_t ny = copyRun(c.ny, c.sy, c.dy, upward, g.height);  // NY 0 copies nothing
    const int stepY = upward ? -1 : 1;
    for (int row = 0; row < ny; ++row) {
        const uint8_t* source = vramLine(c.sy + row * stepY, g.bytesPerLine);
        uint8_t* destination = writableLine(c.dy + row * stepY, g.bytesPerLine);
        if (leftward) {
            for (int i = 0; i < count; ++i) destination[first - i] = source[first - i];
        } else {
            std::memmove(destination + first, source + first, static_cast<size_t>(count));
        }
    }
}

}  // namespace tavir
