// Emulated Z80 speed on the instruction exerciser: T-states per wall second, reported
// as emulated MHz. Skips when the third-party exerciser is not beside the project.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cpm_harness.h"

namespace {

std::filesystem::path zexdocPath() {
    if (const char* custom = std::getenv("TAVIR_Z80_TESTDATA"))
        return std::filesystem::path(custom) / "zexdoc.com";
    return std::filesystem::path(TAVIR_SHARED_DIR) / "testdata" / "z80" / "zexdoc.com";
}

// One exerciser test per run: argument = test number (1-67).
void BM_ZexdocTest(benchmark::State& state) {
    std::vector<uint8_t> program;
    std::string error;
    if (!tavir::readWholeFile(zexdocPath().string(), program, error)) {
        state.SkipWithError(("zexdoc.com not found: " + error).c_str());
        return;
    }
    uint64_t tStates = 0;
    for (auto _ : state) {
        tavir::CPMHarness harness([](char) {});
        harness.load(program);
        harness.selectExerciserTests({static_cast<int>(state.range(0))});
        const tavir::CPMRun run = harness.run(UINT64_MAX);
        if (!run.finished) state.SkipWithError("the exerciser did not finish");
        tStates += run.tStates;
    }
    state.counters["emulated_MHz"] =
        benchmark::Counter(static_cast<double>(tStates) / 1e6, benchmark::Counter::kIsRate);
}

// aluop a,nn (mostly unprefixed ALU), <daa,cpl,scf,ccf>, cpi<r> (block), bit n,(ix+1).
BENCHMARK(BM_ZexdocTest)->Arg(5)->Arg(13)->Arg(12)->Arg(61)->Unit(benchmark::kMillisecond);

}  // namespace
