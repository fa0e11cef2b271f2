// The run loop benchmarks' machine: a Z80 program that never halts, in RAM on all four
// pages, on the headless host's manual clock and unpaced, so a figure is the emulated
// frames per second reached without any waiting.
#pragma once

#include <cstring>
#include <memory>

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "cpu/z80.h"
#include "host/headless_host.h"
#include "memory/memory_map.h"
#include "video/vdp_state.h"

namespace tavir {

struct LoopProgram {
    std::unique_ptr<uint8_t[]> emptyRAM{new uint8_t[kEmptyRAMSize]()};
    std::unique_ptr<uint8_t[]> ram{new uint8_t[kRAMSize]()};

    LoopProgram() {
        initMemoryMap(emptyRAM.get());
        attachRAM(ram.get());
        resetMemoryMap();
        setPrimarySlots(0xFF);
        setSecondarySlots(0xAA);
        // LD A,(HL); INC HL; ADD A,B; LD B,A; LD (DE),A; INC E; JP 0x0100: reads, writes, ALU.
        const uint8_t program[] = {0x7E, 0x23, 0x80, 0x47, 0x12, 0x1C, 0xC3, 0x00, 0x01};
        for (size_t i = 0; i < sizeof program; ++i)
            writeMemory(static_cast<uint16_t>(0x0100 + i), program[i]);

        cpu.MSXSpeed = 228;
        resetCPU(cpu);
        cpu.pc = 0x0100;
        cpu.de.word = 0xC000;
        std::memset(vdp.vdpRegister, 0, sizeof vdp.vdpRegister);
        vdp.vdpRegister[1] = 0x60;  // blanking interrupt requested every frame (taken only after EI)
        fillFrameSchedule();
        installHeadlessHost(HeadlessClock::kManual);
        framePacing.paced = false;
    }

    ~LoopProgram() {
        framePacing.paced = true;
        installHeadlessHost(HeadlessClock::kReal);
        commandCode.store(kCommandNone);
    }
};

}  // namespace tavir
