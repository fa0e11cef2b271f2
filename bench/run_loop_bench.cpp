// The run loop at full load: a Z80 program that never halts, in RAM on all four pages,
// unpaced, so the figure is the emulated frames per second the CPU and line machinery
// reach without any waiting (60 frames per second is real time).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "core/run_loop.h"
#include "cpu/z80.h"
#include "host/headless_host.h"
#include "memory/memory_map.h"
#include "video/vdp_state.h"

namespace {

using namespace tavir;

void runLoopFrames(benchmark::State& state) {
    std::unique_ptr<uint8_t[]> emptyRAM(new uint8_t[kEmptyRAMSize]());
    std::unique_ptr<uint8_t[]> ram(new uint8_t[kRAMSize]());
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
    enterRunLoop();

    for (auto _ : state) runScanLines(cpu, 256);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    framePacing.paced = true;
    installHeadlessHost(HeadlessClock::kReal);
    commandCode.store(kCommandNone);
}
BENCHMARK(runLoopFrames);

}  // namespace
