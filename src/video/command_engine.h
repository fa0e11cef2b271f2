// The VDP's drawing engine as the register side reaches it: R#46 starts a command, R#44
// feeds a CPU-to-VRAM transfer, S#7 reads a VRAM-to-CPU transfer.
#pragma once

#include <cstdint>

namespace tavir {

// Called by the R#46 write before the register is stored.
void startCommand(uint8_t command);

// Called by every R#44 write before the register is stored.
void commandDataWrite(uint8_t value);

// Called by every S#7 read: the next dot of a running READ transfer, else S#7 as it is.
uint8_t commandDataRead();

}  // namespace tavir
