// The VDP command engine's state between calls, 40 bytes: row base (32 bits); command
// byte, dot mask, dots per byte; the mode's four dot shifts; one byte of padding; then x
// start, count per row, rows left, current x, count left in the row, x step and row step
// as signed 32-bit numbers.
#include <cstdint>
#include <cstring>

#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_bytes.h"
#include "frontend/snapshot_layout.h"
#include "video/vdp_command.h"
#include "video/vdp_state.h"

namespace tavir::snapshot {

namespace {

constexpr size_t kRowBase = 0;
constexpr size_t kCommand = 4;
constexpr size_t kDotMask = 5;
constexpr size_t kDotsPerByte = 6;
constexpr size_t kShifts = 7;
constexpr size_t kXStart = 12;
constexpr size_t kCountPerRow = 16;
constexpr size_t kRowsLeft = 20;
constexpr size_t kCurrentX = 24;
constexpr size_t kCountLeft = 28;
constexpr size_t kXStep = 32;
constexpr size_t kRowStep = 36;

// What the registers can ask for: x coordinates and NX, NY are 10-bit numbers (the widest
// screen is 512 dots), and a line of the widest bitmap mode is 256 bytes. The current x
// steps once past the last dot of a finished transfer, to -1 going left.
constexpr int32_t kCoordinateLimit = 1023;
constexpr int32_t kCountLimit = 1024;
constexpr int32_t kBytesPerLineLimit = 256;

int32_t field(const uint8_t* block, size_t offset) {
    return static_cast<int32_t>(get32(block + offset));
}

bool within(int32_t value, int32_t low, int32_t high) {
    return low <= value && value <= high;
}

}  // namespace

void storeCommandBlock(uint8_t* image) {
    const CommandState& t = commandState;
    uint8_t* block = image + kCommandState;
    std::memset(block, 0, kCommandStateSize);
    put32(block + kRowBase, t.rowBase);
    block[kCommand] = t.command;
    block[kDotMask] = t.dotMask;
    block[kDotsPerByte] = t.dotsPerByte;
    std::memcpy(block + kShifts, t.shift, 4);
    const int32_t fields[] = {t.xStart,   t.countPerRow, t.rowsLeft, t.currentX,
                              t.countLeft, t.xStep,       t.rowStep};
    for (int i = 0; i < 7; ++i) put32(block + kXStart + 4 * i, static_cast<uint32_t>(fields[i]));
}

const char* checkCommandBlock(const uint8_t* image) {
    const uint8_t* block = image + kCommandState;
    if (get32(block + kRowBase) >= kVRAMSize) return "CommandState row base";
    const uint8_t dots = block[kDotsPerByte];
    if (dots != 0 && dots != 1 && dots != 2 && dots != 4) return "CommandState dots per byte";
    for (int i = 0; i < 4; ++i)
        if (block[kShifts + i] > 7) return "CommandState shift";
    if (!within(field(block, kXStart), 0, kCoordinateLimit)) return "CommandState x start";
    if (!within(field(block, kCurrentX), -1, kCoordinateLimit + 1))
        return "CommandState current x";
    if (!within(field(block, kCountPerRow), 0, kCountLimit)) return "CommandState count per row";
    if (!within(field(block, kRowsLeft), 0, kCountLimit)) return "CommandState rows left";
    if (!within(field(block, kCountLeft), 0, kCountLimit)) return "CommandState count left";
    if (!within(field(block, kXStep), -1, 1)) return "CommandState x step";
    if (!within(field(block, kRowStep), -kBytesPerLineLimit, kBytesPerLineLimit))
        return "CommandState row step";
    return nullptr;
}

void loadCommandBlock(const uint8_t* image) {
    CommandState& t = commandState;
    const uint8_t* block = image + kCommandState;
    t.rowBase = get32(block + kRowBase);
    t.command = block[kCommand];
    t.dotMask = block[kDotMask];
    t.dotsPerByte = block[kDotsPerByte];
    std::memcpy(t.shift, block + kShifts, 4);
    int32_t* fields[] = {&t.xStart,   &t.countPerRow, &t.rowsLeft, &t.currentX,
                         &t.countLeft, &t.xStep,       &t.rowStep};
    for (int i = 0; i < 7; ++i) *fields[i] = field(block, kXStart + 4 * i);
}

}  // namespace tavir::snapshot
