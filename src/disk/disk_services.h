// The disk ROM's driver entries, served by the emulator through the ED FE trap.
#pragma once

#include "cpu/cpu_state.h"

namespace tavir {

// Entered by ED FE with PC on the RET that follows the trap; the service is chosen by the
// trap's own address, PC - 2. Addresses without a service (the cassette entries among
// them) return with every register unchanged.
void diskService(CPUState& cpu);

}  // namespace tavir
