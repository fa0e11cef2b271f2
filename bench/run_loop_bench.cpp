// The run loop at full load: a Z80 program that never halts, in RAM on all four pages,
// unpaced, so the figure is the emulated frames per second the CPU and line machinery
// reach without any waiting (60 frames per second is real time).
#include <benchmark/benchmark.h>

#include "core/run_loop.h"
#include "loop_program.h"
#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/vdp_ports.h"
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
// sprites on it): still, where a frame after the first redraws no line; changed before
// every frame (a register or palette write, after which every line is drawn); and with
// the sprites moved before every frame through the data port, as a game moves them.
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
    const int64_t change = state.range(0);
    enterRunLoop();
    uint8_t x = 0;
    for (auto _ : state) {
        if (change == 1) notePictureChange();
        if (change == 2) {
            ++x;
            for (uint8_t sprite = 0; sprite < 32; ++sprite) {
                writeVDPControl(static_cast<uint8_t>(sprite * 4 + 1));  // X of each sprite
                writeVDPControl(0x40 | 0x1B);
                writeVDPData(static_cast<uint8_t>(x + sprite * 8));
            }
        }
        runScanLines(cpu, 256);
    }
    const char* labels[] = {"still", "changed every frame", "sprites moved every frame"};
    state.SetLabel(labels[change]);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    shutdownVDP();
}
BENCHMARK(runLoopFramesDrawn)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
