// The PSG's cost. psgFrame/0: one frame end's sound work with the three tones and the
// noise all on; /1 also mixes the frame into a WAV capture. runLoopSound/0 and /1: the
// run loop bench's program with sound off (UsePSG 0) and on, side by side; their
// frames/s ratio is what sound costs a batch run.
#include <benchmark/benchmark.h>

#include "loop_program.h"

#include <cstring>
#include <memory>

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "core/run_loop.h"
#include "cpu/z80.h"
#include "core/settings.h"
#include "host/headless_audio.h"
#include "host/headless_host.h"
#include "host/sound_buffers.h"
#include "memory/memory_map.h"
#include "sound/psg.h"
#include "video/vdp_state.h"

namespace {

using namespace tavir;

// Tones at 219, 440 and 1000 Hz, noise on every channel, all at full volume.
void soundEverythingOn() {
    const uint8_t registers[14] = {0xFE, 0x01, 0xFE, 0x00, 0x70, 0x00, 0x10,
                                   0x00, 0x0F, 0x0F, 0x0F, 0x00, 0x10, 0x0E};
    for (int index = 0; index < 14; ++index) {
        selectPSGRegister(static_cast<uint8_t>(index));
        writePSG(registers[index]);
    }
}

void openSound(bool on) {
    settings = Settings{};
    settings.UsePSG = on ? 1 : 0;
    if (on) {
        // initPSG without msx.cfg: the defaults, on the headless output.
        initPSG();
        soundEverythingOn();
    }
    resyncPSG();
}

void psgFrame(benchmark::State& state) {
    openSound(true);
    // With 1 the frame is mixed and written out, as by tavir-headless --audio.
    if (state.range(0) != 0) startAudioCapture("/dev/null");
    for (auto _ : state) {
        updateTone(0);
        updateTone(1);
        updateTone(2);
        updateNoise();
        playHeadlessAudioFrame();
    }
    finishAudioCapture();
    releasePSG();
}
BENCHMARK(psgFrame)->Arg(0)->Arg(1);

void runLoopSound(benchmark::State& state) {
    LoopProgram machine;
    openSound(state.range(0) != 0);
    enterRunLoop();
    for (auto _ : state) runScanLines(cpu, 256);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    releasePSG();
    settings = Settings{};
}
BENCHMARK(runLoopSound)->Arg(0)->Arg(1);

}  // namespace
