// renderLine per screen mode, picture size and scroll: the time to draw one display line
// of a busy picture (random VRAM, all 16 colours), per line. A scrolled line goes through
// the rotation; an unscrolled one is decoded straight into the frame buffer.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/settings.h"
#include "video/frame_buffer.h"
#include "video/screen_renderer.h"
#include "video/vdp_registers.h"
#include "video/vdp_startup.h"
#include "video/vdp_state.h"

namespace tavir {
namespace {

struct ModeSetUp {
    const char* name;
    uint8_t r0, r1;
};

constexpr ModeSetUp kModes[] = {
    {"Text1", 0x00, 0x50},    {"Text2", 0x04, 0x50},    {"Graphic1", 0x00, 0x40},
    {"Graphic2", 0x02, 0x40}, {"Graphic3", 0x04, 0x40}, {"Graphic4", 0x06, 0x40},
    {"Graphic5", 0x08, 0x40}, {"Graphic6", 0x0A, 0x40}, {"Graphic7", 0x0E, 0x40},
};

void startMode(const ModeSetUp& mode, uint8_t displayMode, bool scrolled) {
    settings = Settings{};
    settings.DisplayMode = displayMode;
    initVDP();
    resetVDP();
    uint32_t seed = 1;
    for (int i = 0; i < kVRAMSize; ++i) {
        seed = seed * 1103515245u + 12345u;
        vdp.vram[i] = static_cast<uint8_t>(seed >> 16);
    }
    for (uint8_t i = 0; i < 16; ++i) setPaletteEntry(i, i & 7, (i >> 1) & 7, (i >> 2) & 7);
    writeVDPRegister(0, mode.r0);
    writeVDPRegister(1, mode.r1);
    writeVDPRegister(2, 0x1F);
    writeVDPRegister(3, 0xFF);
    writeVDPRegister(4, 0x03);
    writeVDPRegister(7, 0xF4);
    writeVDPRegister(27, scrolled ? 3 : 0);
}

void BM_RenderLine(benchmark::State& state) {
    const ModeSetUp& mode = kModes[state.range(0)];
    const auto displayMode = static_cast<uint8_t>(state.range(1));
    const bool scrolled = state.range(2) != 0;
    startMode(mode, displayMode, scrolled);
    state.SetLabel(std::string(mode.name) + (displayMode ? " 640x480" : " 320x240") +
                   (scrolled ? " scrolled" : ""));
    int line = 32;
    for (auto _ : state) {
        vdp.scanLine = static_cast<uint8_t>(line);
        renderLine();
        benchmark::ClobberMemory();
        line = line == 223 ? 32 : line + 1;  // display lines only
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_RenderLine)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1}, {0, 1}});

}  // namespace
}  // namespace tavir
