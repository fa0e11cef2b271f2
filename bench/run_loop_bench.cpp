// The run loop at full load: a Z80 program that never halts, in RAM on all four pages,
// unpaced, so the figure is the emulated frames per second the CPU and line machinery
// reach without any waiting (60 frames per second is real time).
#include <benchmark/benchmark.h>

#include "core/run_loop.h"
#include "loop_program.h"
#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/vdp_registers.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace {

using namespace tavir;

void runLoopFrames(benchmark::State& state) {
    LoopProgram machine;
    enterRunLoop();
    for (auto _ : state) runScanLines(cpu, 256);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(runLoopFrames);

}  // namespace

namespace {

// The run loop drawing every frame of a Graphic 1 screen (random names and patterns, 32
// sprites on it): still, where a frame after the first redraws no line, and changed
// before every frame, as a program writing to the VDP each frame would have it.
void runLoopFramesDrawn(benchmark::State& state) {
    LoopProgram machine;
    settings.DisplayMode = 0;
    settings.CheckSprite = 1;  // as shipped: every line tests collisions
    initVDP();  // VRAM, and the frame buffer at 320 x 240 with drawing on
    resetVDP();
    uint32_t seed = 7;
    for (int i = 0; i < 0x4000; ++i) {
        seed = seed * 1103515245u + 12345u;
        vdp.vram[i] = static_cast<uint8_t>(seed >> 16);
    }
    for (int i = 0; i < 16; ++i) vdp.drawPalette[i] = static_cast<uint16_t>(i * 0x1111);
    const uint8_t registers[] = {0x00, 0x60, 0x06, 0x80, 0x00, 0x36, 0x07, 0x04};
    for (uint8_t r = 0; r < sizeof registers; ++r) writeVDPRegister(r, registers[r]);
    const bool changing = state.range(0) != 0;
    enterRunLoop();
    for (auto _ : state) {
        if (changing) notePictureChange();
        runScanLines(cpu, 256);
    }
    state.SetLabel(changing ? "changed every frame" : "still");
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    shutdownVDP();
}
BENCHMARK(runLoopFramesDrawn)->Arg(0)->Arg(1);

}  // namespace
