// Random Z80 code run from RAM on the started machine for a few scan lines: every IN and
// OUT reaches the real port devices (slots, mapper, VDP, PSG, clock chip, Kanji ROM), and
// interrupts come from the VDP as the code sets it up.
#include <algorithm>
#include <cstdint>

#include "core/machine.h"
#include "core/run_loop.h"
#include "cpu/z80.h"
#include "fuzz_machine.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavir::fuzz::startFuzzMachine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    tavir::CPUState& cpu = tavir::cpu;
    tavir::resetMachine(cpu);
    tavir::outPort(0xA8, 0xFF);
    tavir::setSecondarySlots(0xAA);
    for (uint32_t address = 0; address < 0x10000; ++address)
        tavir::writeMemory(static_cast<uint16_t>(address), address < size ? data[address] : 0);
    tavir::outPort(0xA8, 0xFF);
    tavir::setSecondarySlots(0xAA);
    cpu.pc = 0;
    cpu.sp = 0xF000;
    tavir::enterRunLoop();
    tavir::runScanLines(cpu, 600);
    return 0;
}
