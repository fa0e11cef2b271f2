// The record of the VDP's drawing engine that outlives one register write: where a CPU
// transfer (READ, TSFR, FTSFR) stands between its data bytes. Snapshots store it whole,
// so the fields keep this order and these widths.
#pragma once

#include <cstdint>

namespace tavir {

struct CommandState {
    uint32_t rowBase;     // where the current line starts in VRAM
    uint8_t command;      // the R#46 value that started the transfer
    uint8_t dotMask;      // the mode's dot mask (0xFF for byte transfers)
    uint8_t dotsPerByte;  // 1, 2 or 4 (1 for byte transfers)
    uint8_t shift[4];     // bit position of dot 0-3 within its byte
    int32_t xStart;       // first dot (or byte) of every line
    int32_t countPerRow;
    int32_t rowsLeft;
    int32_t currentX;
    int32_t countLeft;  // dots (or bytes) still to go in the current line
    int32_t xStep;      // +1, or -1 with DIX
    int32_t rowStep;    // plus or minus the bytes per line, minus with DIY
};

extern CommandState commandState;

// Command codes, R#46's high nibble.
enum CommandCode : uint8_t {
    kCommandABRT = 0x00,
    kCommandPGET = 0x40,
    kCommandPSET = 0x50,
    kCommandSRCH = 0x60,
    kCommandLINE = 0x70,
    kCommandFILL = 0x80,
    kCommandCOPY = 0x90,
    kCommandREAD = 0xA0,
    kCommandTSFR = 0xB0,
    kCommandFFILL = 0xC0,
    kCommandFCOPY = 0xD0,
    kCommandHCOPY = 0xE0,
    kCommandFTSFR = 0xF0,
};

// Logical operations, R#46's low three bits; 5 to 7 leave the destination as it is.
enum LogicalOperation : uint8_t { kOpSET, kOpAND, kOpOR, kOpXOR, kOpNOT, kOpNOP };
constexpr uint8_t kCommandTransparent = 0x08;  // T: source dots of value 0 are not written

// R#45, the argument register.
constexpr uint8_t kR45Major = 0x01;     // MAJ: the long side of a line is Y
constexpr uint8_t kR45Equal = 0x02;     // EQ: SRCH stops at the first dot that differs
constexpr uint8_t kR45Leftward = 0x04;  // DIX
constexpr uint8_t kR45Upward = 0x08;    // DIY

constexpr uint8_t kS2BorderFound = 0x10;  // BD: SRCH met its stop condition

// Ends any transfer and clears the record (part of the VDP reset).
void resetCommandEngine();

}  // namespace tavir
