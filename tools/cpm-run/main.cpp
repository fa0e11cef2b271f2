// cpm-run PROGRAM.com: runs a CP/M test program (such as the Z80 instruction exercisers)
// on the emulator's own Z80 and memory map, printing what the program prints.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/cpm_harness.h"

namespace {

void printUsage() {
    std::puts(
        "usage: cpm-run [--tests N,N,...] [--stats] PROGRAM.com\n"
        "\n"
        "Runs a CP/M program with BDOS functions 2 and 9 at 0x0005 and exits 0 when it\n"
        "ends by jumping to 0x0000.\n"
        "  --tests N,...  for the ZEXDOC/ZEXALL exercisers: run only these tests (1-67,\n"
        "                 in the exerciser's own order) by rewriting its test list\n"
        "  --stats        print emulated T-states, wall seconds and emulated MHz to stderr");
}


}  // namespace

int main(int argc, char** argv) {
    const char* tests = nullptr;
    const char* path = nullptr;
    bool stats = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            printUsage();
            return 0;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else if (std::strcmp(argv[i], "--tests") == 0 && i + 1 < argc) {
            tests = argv[++i];
        } else if (path == nullptr && argv[i][0] != '-') {
            path = argv[i];
        } else {
            printUsage();
            return 2;
        }
    }
    if (path == nullptr) {
        printUsage();
        return 2;
    }

    std::vector<uint8_t> program;
    std::string error;
    if (!tavir::readWholeFile(path, program, error)) {
        std::fprintf(stderr, "cpm-run: %s\n", error.c_str());
        return 2;
    }
    tavir::CPMHarness harness([](char c) {
        std::putchar(c);
        if (c == '\n') std::fflush(stdout);
    });
    if (!harness.load(program)) {
        std::fprintf(stderr, "cpm-run: %s is too large for a CP/M program\n", path);
        return 2;
    }
    if (tests != nullptr) {
        std::vector<int> selected;
        if (!tavir::parseExerciserTestList(tests, selected) || !harness.selectExerciserTests(selected)) {
            std::fprintf(stderr, "cpm-run: --tests wants numbers 1-67 separated by commas\n");
            return 2;
        }
    }

    const auto start = std::chrono::steady_clock::now();
    const tavir::CPMRun run = harness.run(UINT64_MAX);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::putchar('\n');
    std::fflush(stdout);
    if (stats) {
        std::fprintf(stderr, "cpm-run: %llu T-states in %.2f s = %.1f emulated MHz\n",
                     static_cast<unsigned long long>(run.tStates), seconds,
                     run.tStates / seconds / 1e6);
    }
    if (!run.finished) {
        std::fprintf(stderr, "cpm-run: the program halted at 0x%04X instead of ending at 0x0000\n",
                     run.stoppedAt);
        return 1;
    }
    return 0;
}
