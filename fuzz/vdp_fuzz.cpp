// Random streams at the VDP's four ports, with scan lines run between them, so register
// writes, palette and indirect writes, VRAM access and the command engine (started by
// R#46, fed through R#44) meet every screen mode the registers can select. Input: pairs of
// (action, value); action bits 0-2 pick the port write or read or a run of scan lines.
#include <cstdint>

#include "core/machine.h"
#include "core/vdp_line.h"
#include "fuzz_machine.h"
#include "video/vdp_ports.h"
#include "video/vdp_state.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavir::fuzz::startFuzzMachine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavir::CPUState& cpu = tavir::cpu;
    tavir::resetMachine(cpu);
    uint32_t sum = 0;
    for (size_t i = 0; i + 2 <= size; i += 2) {
        const uint8_t value = data[i + 1];
        switch (data[i] & 7) {
            case 0: tavir::writeVDPData(value); break;
            case 1:
            case 2: tavir::writeVDPControl(value); break;
            case 3: tavir::writeVDPPalette(value); break;
            case 4: tavir::writeVDPIndirect(value); break;
            case 5: sum += tavir::readVDPData(); break;
            case 6: sum += tavir::readVDPStatus(); break;
            default:
                for (int line = 0; line <= value; ++line) tavir::vdpLine(cpu);
                break;
        }
    }
    return static_cast<int>(sum & 0);
}
