// The drawing engine's front: R#46 starts a command, which runs to its end inside the
// register write (no emulated time passes), except the three CPU transfers, which move
// one dot or byte per R#44 write or S#7 read.
#include "video/command_engine.h"

#include <algorithm>
#include <cstring>

#include "video/command_dots.h"
#include "video/vdp_command.h"
#include "video/vdp_state.h"

namespace tavir {

CommandState commandState;

namespace {

// The plane in dots is 1024 or 512 lines deep: 128 KB whatever the mode.
constexpr CommandGeometry kGraphic4Plane = {256, 1024, 128, 2, 0x0F, {4, 0, 4, 0}};
constexpr CommandGeometry kGraphic5Plane = {512, 1024, 128, 4, 0x03, {6, 4, 2, 0}};
constexpr CommandGeometry kGraphic6Plane = {512, 512, 256, 2, 0x0F, {4, 0, 4, 0}};
constexpr CommandGeometry kGraphic7Plane = {256, 512, 256, 1, 0xFF, {0, 0, 0, 0}};

constexpr uint8_t kTransferRunning = kS2TransferReady | kS2CommandExecuting;

int32_t registerPair(int n) {
    return vdp.vdpRegister[n] + 256 * vdp.vdpRegister[n + 1];
}

CommandRegisters loadRegisters(const CommandGeometry& g) {
    CommandRegisters c;
    // The plane's sides are powers of two, so the modulo is a mask.
    c.sx = registerPair(32) & (g.width - 1);
    c.sy = registerPair(34) & (g.height - 1);
    c.dx = registerPair(36) & (g.width - 1);
    c.dy = registerPair(38) & (g.height - 1);
    c.nx = registerPair(40) & 0x3FF;
    c.ny = registerPair(42) & 0x3FF;
    c.colour = vdp.vdpRegister[44] & g.dotMask;
    c.argument = vdp.vdpRegister[45];
    return c;
}

void pointGet(const CommandGeometry& g, const CommandRegisters& c) {
    const uint8_t dot = readDot(g, c.sx, c.sy);
    vdp.vdpRegister[44] = dot;
    vdp.vdpStatus[7] = dot;
}

// Walks line SY from SX until the dot's match with the colour differs from EQ. Running
// off either edge leaves BD clear and reports the edge dot.
void search(const CommandGeometry& g, const CommandRegisters& c) {
    uint8_t* s = vdp.vdpStatus;
    s[2] &= static_cast<uint8_t>(~kS2BorderFound);
    const bool equal = c.argument & kR45Equal;
    const int step = (c.argument & kR45Leftward) ? -1 : 1;
    int x = c.sx;
    while (x >= 0 && x < g.width && (readDot(g, x, c.sy) == c.colour) == equal) x += step;
    if (x >= g.width) {
        x = g.width - 1;
    } else if (x < 0) {
        x = 0;
    } else {
        s[2] |= kS2BorderFound;
    }
    vdp.vdpRegister[32] = s[8] = static_cast<uint8_t>(x);
    vdp.vdpRegister[33] = s[9] = static_cast<uint8_t>((x >> 8) | 0xFE);
}

void lineDot(const CommandGeometry& g, int x, int y, uint8_t colour, uint8_t command) {
    // Dots that leave the plane are dropped, never wrapped.
    if (x < 0 || x >= g.width || y < 0 || y >= g.height) return;
    writeDot(g, x, y, colour, command);
}

// Bresenham along the long side: NX is its length, NY the short side's; MAJ says the
// long side is Y. The line has (long side + 1) dots.
void drawLine(const CommandGeometry& g, const CommandRegisters& c, uint8_t command) {
    if ((command & kCommandTransparent) && c.colour == 0) return;
    const bool yMajor = c.argument & kR45Major;
    const int a = yMajor ? c.ny : c.nx;  // X extent
    const int b = yMajor ? c.nx : c.ny;  // Y extent
    const int xs = a == 0 ? 0 : (c.argument & kR45Leftward) ? -1 : 1;
    const int ys = b == 0 ? 0 : (c.argument & kR45Upward) ? -1 : 1;
    int x = c.dx, y = c.dy;
    if (!yMajor) {
        int e = 2 * b - a;
        for (int i = 0; i <= a; ++i) {
            lineDot(g, x, y, c.colour, command);
            if (e >= 0) {
                e -= 2 * a;
                y += ys;
            }
            x += xs;
            e += 2 * b;
        }
    } else {
        int e = 2 * a - b;
        for (int i = 0; i <= b; ++i) {
            lineDot(g, x, y, c.colour, command);
            if (e >= 0) {
                e -= 2 * b;
                x += xs;
            }
            y += ys;
            e += 2 * a;
        }
    }
}

// READ, TSFR and FTSFR: the rectangle is clipped to the plane once here, so the
// transfer's dots stay inside it whatever the CPU sends.
void startTransfer(const CommandGeometry& g, const CommandRegisters& c, uint8_t command) {
    const bool leftward = c.argument & kR45Leftward;
    const bool upward = c.argument & kR45Upward;
    const bool reading = (command & 0xF0) == kCommandREAD;
    int x = reading ? c.sx : c.dx;
    int y = reading ? c.sy : c.dy;
    int nx = c.nx, ny = c.ny;
    if (nx == 0) {
        nx = g.width;
        x = leftward ? g.width - 1 : 0;
    }
    if (ny == 0) {
        ny = g.height;
        y = upward ? g.height - 1 : 0;
    }
    nx = std::min(nx, leftward ? x + 1 : g.width - x);
    ny = std::min(ny, upward ? y + 1 : g.height - y);

    CommandState& t = commandState;
    t.command = command;
    if ((command & 0xF0) == kCommandFTSFR) {
        t.dotMask = 0xFF;
        t.dotsPerByte = 1;
        std::memset(t.shift, 0, sizeof t.shift);
        x /= g.dotsPerByte;
        nx /= g.dotsPerByte;
    } else {
        t.dotMask = g.dotMask;
        t.dotsPerByte = static_cast<uint8_t>(g.dotsPerByte);
        std::memcpy(t.shift, g.shift, sizeof t.shift);
    }
    t.rowBase = static_cast<uint32_t>(y * g.bytesPerLine);
    t.xStart = t.currentX = x;
    t.countPerRow = t.countLeft = nx;
    t.rowsLeft = ny;
    t.xStep = leftward ? -1 : 1;
    t.rowStep = upward ? -g.bytesPerLine : g.bytesPerLine;
    vdp.vdpStatus[2] |= kTransferRunning;
    // The first data byte is the one the CPU put in R#44 before the command.
    if (!reading) commandDataWrite(vdp.vdpRegister[44]);
}

void advanceTransfer() {
    CommandState& t = commandState;
    t.currentX += t.xStep;
    if (--t.countLeft > 0) return;
    if (--t.rowsLeft <= 0) {
        vdp.vdpStatus[2] &= static_cast<uint8_t>(~kTransferRunning);
        return;
    }
    t.rowBase += static_cast<uint32_t>(t.rowStep);
    t.currentX = t.xStart;
    t.countLeft = t.countPerRow;
}

// A record restored from elsewhere may hold any layout; only the three real ones are
// used, anything else ends the transfer.
bool transferLayoutValid() {
    const uint8_t n = commandState.dotsPerByte;
    if (n == 1 || n == 2 || n == 4) return true;
    vdp.vdpStatus[2] &= static_cast<uint8_t>(~kTransferRunning);
    return false;
}

}  // namespace

const CommandGeometry* commandGeometry(uint8_t screenMode) {
    switch (screenMode) {
        case kGraphic4: return &kGraphic4Plane;
        case kGraphic5: return &kGraphic5Plane;
        case kGraphic6: return &kGraphic6Plane;
        case kGraphic7: return &kGraphic7Plane;  // the YJK screens too: Graphic 7 underneath
        default: return nullptr;
    }
}

void resetCommandEngine() {
    commandState = CommandState{};
    vdp.vdpStatus[2] &= static_cast<uint8_t>(~kTransferRunning);
}

void startCommand(uint8_t command) {
    const CommandGeometry* plane = commandGeometry(vdp.screenMode);
    if (plane == nullptr) return;
    const CommandGeometry& g = *plane;
    const CommandRegisters c = loadRegisters(g);
    switch (command & 0xF0) {
        case kCommandABRT: vdp.vdpStatus[2] &= static_cast<uint8_t>(~kTransferRunning); break;
        case kCommandPGET: pointGet(g, c); break;
        case kCommandPSET: writeDot(g, c.dx, c.dy, c.colour, command); break;
        case kCommandSRCH: search(g, c); break;
        case kCommandLINE: drawLine(g, c, command); break;
        case kCommandFILL: fillRectangle(g, c, command); break;
        case kCommandCOPY: copyRectangle(g, c, command); break;
        case kCommandREAD:
        case kCommandTSFR:
        case kCommandFTSFR: startTransfer(g, c, command); break;
        case kCommandFFILL: fillBytes(g, c); break;
        case kCommandFCOPY: copyBytes(g, c); break;
        case kCommandHCOPY: copyLineParts(g, c); break;
        default: break;  // 0x1-0x3 are no commands
    }
}

void commandDataWrite(uint8_t value) {
    if (!(vdp.vdpStatus[2] & kS2TransferReady)) return;
    CommandState& t = commandState;
    const uint8_t code = t.command & 0xF0;
    if (code != kCommandTSFR && code != kCommandFTSFR) return;
    if (!transferLayoutValid()) return;
    if (code == kCommandTSFR) {
        writeDotAt(t.rowBase, t.currentX, t.dotsPerByte, t.dotMask, t.shift, value & t.dotMask,
                   t.command);
    } else {
        const uint32_t index = (t.rowBase + static_cast<uint32_t>(t.currentX)) & kVRAMMask;
        noteVRAMChange(index);
        vdp.vram[index] = value;
    }
    advanceTransfer();
}

uint8_t commandDataRead() {
    CommandState& t = commandState;
    if (!(vdp.vdpStatus[2] & kS2TransferReady) || (t.command & 0xF0) != kCommandREAD ||
        !transferLayoutValid()) {
        return vdp.vdpStatus[7];
    }
    const uint8_t dot = readDotAt(t.rowBase, t.currentX, t.dotsPerByte, t.dotMask, t.shift);
    advanceTransfer();
    return dot;
}

}  // namespace tavir
