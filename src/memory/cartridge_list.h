// "cart.drc": which ROM image goes into each cartridge slot, and with which mapper.
//
// Line 1 is slot 1, line 2 slot 2; further lines are ignored. A line is one mapper digit
// (0-5) followed directly by the image file name, which ends with the first ".rom" (any
// case); whatever follows it on the line is a comment.
#pragma once

#include <cstdint>

namespace tavir {

constexpr const char* kCartridgeListFileName = "cart.drc";
constexpr int kCartridgeLineLimit = 254;  // characters of a line that are looked at

// Reads the list in the working directory and loads the images it names. Every slot
// left empty is logged; nothing here stops start-up. A cartridge named on the command
// line takes slot 1 in place of the list's first line.
void loadCartridgeList();

// The command line's cartridge for every later start-up; an empty path clears it.
void setCommandLineCartridge(const char* path, uint8_t mapper);

// Loads `path` into slot 1 with `mapper` (0-5), as a list line would: false, logged as
// the slot's load failure, when it can't be read. The machine is not reset here.
bool insertCartridge(const char* path, uint8_t mapper);

}  // namespace tavir
