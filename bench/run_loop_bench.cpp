// The run loop at full load: a Z80 program that never halts, in RAM on all four pages,
// unpaced, so the figure is the emulated frames per second the CPU and line machinery
// reach without any waiting (60 frames per second is real time).
#include <benchmark/benchmark.h>

#include "core/run_loop.h"
#include "loop_program.h"

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
