#include "disk/disk_services.h"

#include "disk/disk_service_entries.h"

namespace tavir {

void diskService(CPUState& cpu) {
    const uint16_t trapAddress = static_cast<uint16_t>(cpu.pc - 2);
    switch (trapAddress) {
        case kDSKIOEntry: serviceDSKIO(cpu); break;
        case kDSKCHGEntry: serviceDSKCHG(cpu); break;
        case kGETDPBEntry: serviceGETDPB(cpu); break;
        case kDSKFMTEntry: serviceDSKFMT(cpu); break;
        // Motor off, the cassette entries and stray traps: return to the caller untouched.
        default: break;
    }
}

}  // namespace tavir
