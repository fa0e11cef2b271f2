#include "memory/cartridge.h"

namespace tavir {

void switchCartridgeBank(uint16_t, uint8_t) {}

}  // namespace tavir
