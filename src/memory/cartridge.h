// ROM cartridges in slots 1 and 2 and their bank-switching mappers.
#pragma once

#include <cstdint>

namespace tavir {

// A CPU write into 0x4000-0xBFFF that no RAM took; acts only when that page shows a
// cartridge slot whose mapper switches banks.
void switchCartridgeBank(uint16_t address, uint8_t value);

}  // namespace tavir
