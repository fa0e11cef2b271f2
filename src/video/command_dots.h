// How the drawing engine sees VRAM in Graphic 4 to 7: a plane of dots, 1024 or 512 lines
// deep so that it covers all 128 KB, with one, two or four dots packed in each byte.
#pragma once

#include <cstdint>

#include "video/picture_changes.h"
#include "video/vdp_command.h"
#include "video/vdp_state.h"

namespace tavir {

struct CommandGeometry {
    int32_t width, height;  // dots and lines of the whole plane
    int32_t bytesPerLine;
    int32_t dotsPerByte;
    uint8_t dotMask;
    uint8_t shift[4];  // dot 0 sits in the high bits of its byte
};

// The plane of `screenMode`, or nullptr in the modes the engine does not draw in.
const CommandGeometry* commandGeometry(uint8_t screenMode);

// The logical operation on a source dot s and the destination dot d, before masking.
inline uint8_t applyLogicalOperation(uint8_t op, uint8_t s, uint8_t d) {
    switch (op) {
        case kOpSET: return s;
        case kOpAND: return s & d;
        case kOpOR: return s | d;
        case kOpXOR: return s ^ d;
        case kOpNOT: return static_cast<uint8_t>(~s);
        default: return d;
    }
}

// Dot x of the line that starts at `line`; x must lie inside the plane, which keeps the
// byte inside VRAM.
inline uint8_t readDotAt(uint32_t line, int x, int dotsPerByte, uint8_t dotMask,
                         const uint8_t* shift) {
    const uint8_t byte = vdp.vram[(line + static_cast<uint32_t>(x) / dotsPerByte) & kVRAMMask];
    return (byte >> shift[x & (dotsPerByte - 1) & 3]) & dotMask;
}

// Writes op(s, d) into the dot's own bits; the other dots of the byte keep theirs. With
// the command's T bit a source of 0 writes nothing.
inline void writeDotAt(uint32_t line, int x, int dotsPerByte, uint8_t dotMask, const uint8_t* shift,
                       uint8_t s, uint8_t command) {
    if ((command & kCommandTransparent) && s == 0) return;
    const uint32_t index = (line + static_cast<uint32_t>(x) / dotsPerByte) & kVRAMMask;
    noteVRAMChange(index);
    uint8_t& byte = vdp.vram[index];
    const int at = shift[x & (dotsPerByte - 1) & 3];
    const uint8_t d = (byte >> at) & dotMask;
    const uint8_t result = applyLogicalOperation(command & 7, s, d) & dotMask;
    byte = static_cast<uint8_t>((byte & ~(dotMask << at)) | (result << at));
}

inline uint8_t readDot(const CommandGeometry& g, int x, int y) {
    return readDotAt(static_cast<uint32_t>(y * g.bytesPerLine), x, g.dotsPerByte, g.dotMask,
                     g.shift);
}

inline void writeDot(const CommandGeometry& g, int x, int y, uint8_t s, uint8_t command) {
    writeDotAt(static_cast<uint32_t>(y * g.bytesPerLine), x, g.dotsPerByte, g.dotMask, g.shift, s,
               command);
}

// The rectangle commands of command_rectangles.cpp, each given the R#46 value; the
// coordinates and sizes come from R#32-R#45.
struct CommandRegisters {
    int32_t sx, sy, dx, dy, nx, ny;
    uint8_t colour;    // R#44 masked to one dot
    uint8_t argument;  // R#45
};

void fillRectangle(const CommandGeometry& g, const CommandRegisters& c, uint8_t command);
void copyRectangle(const CommandGeometry& g, const CommandRegisters& c, uint8_t command);
void fillBytes(const CommandGeometry& g, const CommandRegisters& c);
void copyBytes(const CommandGeometry& g, const CommandRegisters& c);
void copyLineParts(const CommandGeometry& g, const CommandRegisters& c);

}  // namespace tavir
