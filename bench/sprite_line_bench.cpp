// The run loop's per-line sprite work (drawing, collision test) on a Graphic 1 screen
// with 32 sprites of 16 x 16 dots spread over the display, per line.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/settings.h"
#include "video/sprites.h"
#include "video/vdp_registers.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

void BM_SpriteLine(benchmark::State& state) {
    settings = Settings{};
    settings.CheckSprite = 1;
    settings.DisplayMode = static_cast<uint8_t>(state.range(0));
    initVDP();
    resetVDP();
    writeVDPRegister(1, 0x42);  // display on, 16 x 16 sprites
    writeVDPRegister(5, 0x36);  // attributes at 0x1B00
    writeVDPRegister(6, 0x07);  // patterns at 0x3800
    for (int i = 0; i < 32; ++i) {
        uint8_t* entry = vdp.vram + 0x1B00 + i * 4;
        entry[0] = static_cast<uint8_t>(i * 6);   // Y: a few sprites on every line
        entry[1] = static_cast<uint8_t>(i * 37);  // X
        entry[2] = static_cast<uint8_t>(i * 4);
        entry[3] = static_cast<uint8_t>(1 + i % 15);
    }
    for (int i = 0; i < 2048; ++i) vdp.vram[0x3800 + i] = static_cast<uint8_t>(i * 97);
    int line = 32;
    for (auto _ : state) {
        vdp.scanLine = static_cast<uint8_t>(line);
        vdp.vdpStatus[0] = 0;  // collisions wanted on every line
        spriteLine(true);
        benchmark::ClobberMemory();
        line = line == 223 ? 32 : line + 1;
    }
    state.SetLabel(state.range(0) ? "640x480" : "320x240");
}
BENCHMARK(BM_SpriteLine)->Arg(0)->Arg(1);

}  // namespace
}  // namespace tavir
