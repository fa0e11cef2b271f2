// The drawing engine's full-screen commands (256 x 212 dots) in Graphic 4 and 7, and a
// YJK line, per command or line. The copies read page 1 and write page 0.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/settings.h"
#include "video/screen_renderer.h"
#include "video/vdp_registers.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

struct CommandSetUp {
    const char* name;
    uint8_t code;  // R#46: SET, no T
    bool copy;
    int sx;  // 1: source and destination dots sit differently in their bytes (Graphic 4)
};

constexpr CommandSetUp kCommands[] = {{"HMMV", 0xC0, false, 0},
                                      {"LMMV", 0x80, false, 0},
                                      {"HMMM", 0xD0, true, 0},
                                      {"LMMM", 0x90, true, 0},
                                      {"LMMM from x = 1", 0x90, true, 1}};

void startVideo(uint8_t r0, uint8_t r25) {
    settings = Settings{};
    initVDP();
    resetVDP();
    uint32_t seed = 1;
    for (int i = 0; i < kVRAMSize; ++i) {
        seed = seed * 1103515245u + 12345u;
        vdp.vram[i] = static_cast<uint8_t>(seed >> 16);
    }
    writeVDPRegister(0, r0);
    writeVDPRegister(1, 0x40);
    writeVDPRegister(2, 0x1F);
    writeVDPRegister(9, 0x80);
    writeVDPRegister(25, r25);
}

void setPair(uint8_t n, int value) {
    writeVDPRegister(n, static_cast<uint8_t>(value));
    writeVDPRegister(static_cast<uint8_t>(n + 1), static_cast<uint8_t>(value >> 8));
}

void BM_FullScreenCommand(benchmark::State& state) {
    const CommandSetUp& command = kCommands[state.range(0)];
    const bool graphic7 = state.range(1) != 0;
    startVideo(graphic7 ? 0x0E : 0x06, 0);
    state.SetLabel(std::string(command.name) + (graphic7 ? " Graphic 7" : " Graphic 4"));
    setPair(32, command.sx);
    setPair(34, command.copy ? 256 : 0);
    setPair(36, 0);
    setPair(38, 0);
    setPair(40, 256);
    setPair(42, 212);
    writeVDPRegister(44, 0x5A);
    writeVDPRegister(45, 0);
    for (auto _ : state) {
        writeVDPRegister(46, command.code);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 212);  // dots
}

BENCHMARK(BM_FullScreenCommand)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}});

void BM_YJKLine(benchmark::State& state) {
    startVideo(0x0E, static_cast<uint8_t>(state.range(0)));
    state.SetLabel(state.range(0) == 0x18 ? "YJK with attributes" : "YJK");
    int line = 22;
    for (auto _ : state) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
        benchmark::ClobberMemory();
        line = line == 233 ? 22 : line + 1;  // display lines only
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_YJKLine)->Arg(0x08)->Arg(0x18);

}  // namespace
}  // namespace tavir
