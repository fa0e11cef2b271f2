// z80-compare: runs the ZEXDOC instruction exerciser on our Z80 (through the CP/M
// harness of cpm-run) and on Debian's libz80ex (through an equivalent harness: flat
// 64 KB, HALT at 0x0000 and 0x0005, BDOS functions 2 and 9), alternating the two so
// that both see the same load on a shared machine, and prints the speed ratio.
//
//   z80-compare [--tests N,N,...] [--rounds R] [ZEXDOC.COM]
//
// Each round runs the chosen tests once on each core. Printed: the best round of each,
// and the median of the rounds' own ratios (each round's two runs follow one another, so
// they share the machine's load of the moment). Times are the process's CPU time, which a
// busy shared machine disturbs less than wall time.
#include <z80ex/z80ex.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "core/cpm_harness.h"

namespace {

// aluop a,nn (unprefixed ALU), <daa,cpl,scf,ccf>, <inc,dec> a, ld <b,c,d,e,h,l,(hl),a>,
// cpi<r>, shf/rot (<ix,iy>+1), bit n,(<ix,iy>+1): a mix of the main, ED, CB and indexed
// groups that runs a few seconds.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

const std::vector<int> kDefaultTests = {5, 13, 17, 47, 12, 55, 61};

struct Outcome {
    bool finished = false;
    uint64_t tStates = 0;
    double seconds = 0;
    std::string printed;
};

Outcome runOurs(const std::vector<uint8_t>& program, const std::vector<int>& tests) {
    Outcome outcome;
    tavir::CPMHarness harness([&](char c) { outcome.printed += c; });
    harness.load(program);
    harness.selectExerciserTests(tests);
    const double start = cpuSeconds();
    const tavir::CPMRun run = harness.run(UINT64_MAX);
    outcome.seconds = cpuSeconds() - start;
    outcome.finished = run.finished;
    outcome.tStates = run.tStates;
    return outcome;
}

// libz80ex's side: the same memory picture in a flat array behind its callbacks. As in
// CP/M, 0x0005 jumps to the BDOS at the top of the program's memory (0xF000, so the word
// at 0x0006 is the stack top); there OUT (0),A / RET hands the call to the port callback,
// and the warm boot is OUT (1),A / HALT, so the loop only tests a flag per step.
struct FlatMachine {
    uint8_t memory[0x10000];
    Z80EX_CONTEXT* z80;
    bool ended;
    std::string* printed;
};

Z80EX_BYTE readFlat(Z80EX_CONTEXT*, Z80EX_WORD address, int, void* data) {
    return static_cast<FlatMachine*>(data)->memory[address];
}
void writeFlat(Z80EX_CONTEXT*, Z80EX_WORD address, Z80EX_BYTE value, void* data) {
    static_cast<FlatMachine*>(data)->memory[address] = value;
}
Z80EX_BYTE readPort(Z80EX_CONTEXT*, Z80EX_WORD, void*) {
    return 0xFF;
}
void writePort(Z80EX_CONTEXT* z80, Z80EX_WORD port, Z80EX_BYTE, void* data) {
    auto& machine = *static_cast<FlatMachine*>(data);
    if ((port & 0xFF) == 1) {
        machine.ended = true;
        return;
    }
    const uint16_t bc = z80ex_get_reg(z80, regBC), de = z80ex_get_reg(z80, regDE);
    if ((bc & 0xFF) == 2) {
        *machine.printed += static_cast<char>(de & 0xFF);
    } else if ((bc & 0xFF) == 9) {
        uint16_t address = de;
        for (int count = 0; count < 0x10000 && machine.memory[address] != '$'; ++count, ++address)
            *machine.printed += static_cast<char>(machine.memory[address]);
    }
}
Z80EX_BYTE readVector(Z80EX_CONTEXT*, void*) {
    return 0xFF;
}

Outcome runLibrary(const std::vector<uint8_t>& program, const std::vector<int>& tests) {
    Outcome outcome;
    static FlatMachine machine;
    std::memset(machine.memory, 0, sizeof machine.memory);
    const uint8_t warmBoot[] = {0xD3, 0x01, 0x76};  // OUT (1),A; HALT
    const uint8_t entry[] = {0xC3, 0x00, 0xF0};     // JP 0xF000
    const uint8_t bdos[] = {0xD3, 0x00, 0xC9};      // OUT (0),A; RET
    std::memcpy(machine.memory + 0x0000, warmBoot, sizeof warmBoot);
    std::memcpy(machine.memory + 0x0005, entry, sizeof entry);
    std::memcpy(machine.memory + 0xF000, bdos, sizeof bdos);
    std::memcpy(machine.memory + 0x0100, program.data(), std::min<size_t>(program.size(), 0xEB00));
    uint16_t list = 0x013A;  // the exerciser's test list, as CPMHarness rewrites it
    for (int test : tests) {
        const int descriptor = 0x01C2 + 0x60 * (test - 1);
        machine.memory[list++] = static_cast<uint8_t>(descriptor);
        machine.memory[list++] = static_cast<uint8_t>(descriptor >> 8);
    }
    machine.memory[list++] = 0;
    machine.memory[list] = 0;
    machine.ended = false;
    machine.printed = &outcome.printed;

    Z80EX_CONTEXT* z80 = z80ex_create(readFlat, &machine, writeFlat, &machine, readPort, nullptr,
                                      writePort, &machine, readVector, nullptr);
    machine.z80 = z80;
    z80ex_set_reg(z80, regPC, 0x0100);
    z80ex_set_reg(z80, regSP, 0xF000);
    const double start = cpuSeconds();
    while (!machine.ended && !z80ex_doing_halt(z80))
        outcome.tStates += static_cast<uint64_t>(z80ex_step(z80));
    outcome.seconds = cpuSeconds() - start;
    outcome.finished = machine.ended;
    z80ex_destroy(z80);
    return outcome;
}


}  // namespace

int main(int argc, char** argv) {
    std::string path = TAVIR_SHARED_DIR "/testdata/z80/zexdoc.com";
    if (const char* custom = std::getenv("TAVIR_Z80_TESTDATA"))
        path = std::string(custom) + "/zexdoc.com";
    std::vector<int> tests;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tests") == 0 && i + 1 < argc) {
            if (!tavir::parseExerciserTestList(argv[++i], tests)) {
                std::fprintf(stderr,
                             "z80-compare: --tests wants numbers 1-67 separated by commas\n");
                return 2;
            }
        } else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (argv[i][0] != '-') {
            path = argv[i];
        } else {
            std::fprintf(stderr,
                         "usage: z80-compare [--tests N,N,...] [--rounds R] [ZEXDOC.COM]\n");
            return 2;
        }
    }
    if (tests.empty()) tests = kDefaultTests;

    std::vector<uint8_t> program;
    std::string error;
    if (!tavir::readWholeFile(path, program, error)) {
        std::printf("z80-compare: skipped, no exerciser (%s)\n", error.c_str());
        return 0;
    }

    double oursBest = 1e30, libraryBest = 1e30;
    std::vector<double> ratios;
    Outcome ours, library;
    for (int round = 0; round < rounds; ++round) {
        ours = runOurs(program, tests);
        library = runLibrary(program, tests);
        oursBest = std::min(oursBest, ours.seconds);
        libraryBest = std::min(libraryBest, library.seconds);
        ratios.push_back(library.seconds / ours.seconds);
    }
    std::sort(ratios.begin(), ratios.end());
    const size_t middle = ratios.size() / 2;
    const double medianRatio =
        ratios.size() % 2 ? ratios[middle] : (ratios[middle - 1] + ratios[middle]) / 2;
    const bool oursOK = ours.finished && ours.printed.find("ERROR") == std::string::npos;
    const bool libraryOK = library.finished && library.printed.find("ERROR") == std::string::npos;
    std::printf("tavir     %s %llu T-states, best %.3f s = %.1f emulated MHz\n",
                oursOK ? "OK   " : "ERROR", static_cast<unsigned long long>(ours.tStates), oursBest,
                ours.tStates / oursBest / 1e6);
    std::printf("libz80ex  %s %llu T-states, best %.3f s = %.1f emulated MHz\n",
                libraryOK ? "OK   " : "ERROR", static_cast<unsigned long long>(library.tStates),
                libraryBest, library.tStates / libraryBest / 1e6);
    std::printf("ratio (tavir / libz80ex, by CPU time per run): %.2f best, %.2f median of %d rounds\n",
                libraryBest / oursBest, medianRatio, rounds);
    if (!oursOK) std::fputs(ours.printed.c_str(), stdout);
    return oursOK ? 0 : 1;
}
