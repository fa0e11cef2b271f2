// A disk set naming a disk image of any content and size, mounted in drive A, then random
// calls of the four disk driver services with random registers. Input: two bytes of image
// length, the image, then nine bytes per call: service, A, F, B, C, D, E, H, L.
#include <cstdint>

#include "cpu/cpu_state.h"
#include "cpu/z80.h"
#include "disk/disk_service_entries.h"
#include "disk/disk_services.h"
#include "disk/disk_set_loader.h"
#include "fuzz_machine.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavir::fuzz::startFuzzMachine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t imageSize = static_cast<size_t>(data[0] | data[1] << 8) * 16;
    if (imageSize > size - 2) imageSize = size - 2;
    tavir::fuzz::writeBytes("fuzz.dsk", data + 2, imageSize);
    static const char kSet[] = "fuzz.dsk\nmissing.dsk\n";
    tavir::fuzz::writeBytes("adrive.dfd", reinterpret_cast<const uint8_t*>(kSet), sizeof kSet - 1);
    tavir::loadDiskFromSet(0, 1);

    tavir::outPort(0xA8, 0xFF);  // RAM on every page, as a program calling the driver has
    tavir::setSecondarySlots(0xAA);
    const uint16_t entries[] = {tavir::kDSKIOEntry, tavir::kDSKCHGEntry, tavir::kGETDPBEntry,
                                tavir::kDSKFMTEntry};
    tavir::CPUState& cpu = tavir::cpu;
    for (size_t i = 2 + imageSize; i + 9 <= size; i += 9) {
        const uint8_t* call = data + i;
        cpu.pc = static_cast<uint16_t>(entries[call[0] & 3] + 2);
        cpu.af.high = call[1];
        cpu.af.low = call[2];
        cpu.bc.high = call[3];
        cpu.bc.low = call[4];
        cpu.de.high = call[5];
        cpu.de.low = call[6];
        cpu.hl.high = call[7];
        cpu.hl.low = call[8];
        cpu.sp = 0xF000;
        tavir::diskService(cpu);
    }
    tavir::loadDiskFromSet(0, 2);  // a name that is not there leaves the drive empty
    return 0;
}
