// A bare CP/M-style machine for Z80 test programs such as the instruction exercisers:
// the machine's own memory map with all four pages on the mapper RAM of slot 3-2, the
// program at 0x0100, BDOS functions 2 and 9 behind CALL 0x0005, and the end at 0x0000.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavir {

struct CPMRun {
    bool finished = false;  // reached 0x0000
    uint64_t tStates = 0;   // emulated T-states, harness traps excluded
    uint16_t stoppedAt = 0; // PC where the run stopped
};

// The instruction exercisers ZEXDOC and ZEXALL number their tests 1-67.
constexpr int kExerciserTestCount = 67;

// Parses a list such as "1,5,9" of exerciser test numbers, appending them to `tests`.
// False on anything else: an empty item, a number outside 1-67, a stray character.
bool parseExerciserTestList(const char* list, std::vector<int>& tests);

class CPMHarness {
public:
    // Every character the program prints goes to `output`.
    explicit CPMHarness(std::function<void(char)> output);

    // Loads the program at 0x0100 and resets the CPU there. False if it does not fit
    // below the stack.
    bool load(const std::vector<uint8_t>& program);

    // Memory as the program sees it, for set-up before run().
    void poke(uint16_t address, uint8_t value);

    // For the instruction exercisers: run only `tests` (1-67), in this order, by
    // rewriting the program's test list. False if a number is out of range.
    bool selectExerciserTests(const std::vector<int>& tests);

    // Runs until the program jumps to 0x0000, halts, or `tStateLimit` is spent.
    CPMRun run(uint64_t tStateLimit);

private:
    std::unique_ptr<uint8_t[]> emptyRAM_;
    std::unique_ptr<uint8_t[]> ram_;
    std::function<void(char)> output_;
};

// Reads a whole file; false with `error` set if it can't.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& contents, std::string& error);

}  // namespace tavir
