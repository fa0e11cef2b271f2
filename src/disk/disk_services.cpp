#include "disk/disk_services.h"

namespace tavir {

void diskService(CPUState& cpu) {
    const uint16_t trapAddress = static_cast<uint16_t>(cpu.pc - 2);
    switch (trapAddress) {
        default: break;  // no service here: return to the caller untouched
    }
}

}  // namespace tavir
