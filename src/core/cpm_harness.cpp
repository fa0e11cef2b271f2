#include "core/cpm_harness.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/machine.h"
#include "cpu/z80.h"
#include "host/regular_file.h"
#include "memory/memory_map.h"

namespace tavir {

namespace {

constexpr uint16_t kProgramStart = 0x0100;
constexpr uint16_t kBDOSEntry = 0x0005;
constexpr uint16_t kStackTop = 0xF000;
constexpr uint8_t kHALT = 0x76;

// Slices of emulated time between looks at the harness's traps.
constexpr int32_t kSliceTStates = 1 << 20;

}  // namespace

CPMHarness::CPMHarness(std::function<void(char)> output)
    : emptyRAM_(new uint8_t[kEmptyRAMSize]()),
      ram_(new uint8_t[kRAMSize]()),
      output_(std::move(output)) {}

bool CPMHarness::load(const std::vector<uint8_t>& program) {
    if (program.size() > kStackTop - 0x0400u - kProgramStart) return false;
    // Cleared before the map is built: once page 3 is on slot 3 the RAM byte under 0xFFFF
    // holds the secondary slot register, which the map must put there itself.
    std::memset(ram_.get(), 0, kRAMSize);
    initMemoryMap(emptyRAM_.get());
    attachRAM(ram_.get());
    resetMemoryMap();
    setPrimarySlots(0xFF);    // all four pages on slot 3 ...
    setSecondarySlots(0xAA);  // ... secondary slot 2: the mapper RAM

    // HALT ends the CPU's slice at once, which is how the harness notices that the
    // program reached the warm boot (0x0000) or called the BDOS (0x0005). The word at
    // 0x0006 is what CP/M programs take for the top of their stack.
    writeMemory(0x0000, kHALT);
    writeMemory(kBDOSEntry, kHALT);
    writeMemory(0x0006, kStackTop & 0xFF);
    writeMemory(0x0007, kStackTop >> 8);
    for (size_t i = 0; i < program.size(); ++i)
        writeMemory(static_cast<uint16_t>(kProgramStart + i), program[i]);

    resetCPU(cpu);
    cpu.pc = kProgramStart;
    return true;
}

void CPMHarness::poke(uint16_t address, uint8_t value) {
    writeMemory(address, value);
}

bool CPMHarness::selectExerciserTests(const std::vector<int>& tests) {
    // The list sits at 0x013A: descriptor addresses 0x01C2 + 0x60 x (test - 1), ended by 0.
    uint16_t address = 0x013A;
    for (int test : tests) {
        if (test < 1 || test > kExerciserTestCount) return false;
        const auto descriptor = static_cast<uint16_t>(0x01C2 + 0x60 * (test - 1));
        poke(address++, descriptor & 0xFF);
        poke(address++, descriptor >> 8);
    }
    poke(address++, 0);
    poke(address, 0);
    return true;
}

CPMRun CPMHarness::run(uint64_t tStateLimit) {
    CPMRun result;
    while (result.tStates < tStateLimit) {
        cpu.cycleCount = kSliceTStates;
        // HALT zeroes the countdown to end the slice at once, so the T-states run are
        // those spent before the last instruction; the harness's own HALT is not counted.
        const int32_t beforeLast = executeUntilLineEnd(cpu);
        if (!(cpu.stateFlags & kHalted)) {
            result.tStates += static_cast<uint64_t>(kSliceTStates - cpu.cycleCount);
            continue;
        }
        result.tStates += static_cast<uint64_t>(kSliceTStates - beforeLast);

        cpu.stateFlags &= static_cast<uint8_t>(~kHalted);
        if (cpu.pc == 0x0000) {
            result.finished = true;
            break;
        }
        if (cpu.pc != kBDOSEntry) break;  // the program's own HALT: nothing will wake it

        const uint8_t function = cpu.bc.low;
        if (function == 2) {
            output_(static_cast<char>(cpu.de.low));
        } else if (function == 9) {
            // A string without its '$' stops after one trip round memory.
            uint16_t address = cpu.de.word;
            for (int count = 0; count < 0x10000 && readMemory(address) != '$'; ++count, ++address)
                output_(static_cast<char>(readMemory(address)));
        }
        // Return to the caller as RET would.
        const uint8_t low = readMemory(cpu.sp++);
        cpu.pc = static_cast<uint16_t>(low | readMemory(cpu.sp++) << 8);
    }
    result.stoppedAt = cpu.pc;
    return result;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& contents, std::string& error) {
    std::FILE* file = openRegularFile(path.c_str(), "rb");
    if (file == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    contents.clear();
    uint8_t buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        contents.insert(contents.end(), buffer, buffer + count);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed) {
        error = path + ": read error";
        return false;
    }
    return true;
}

bool parseExerciserTestList(const char* list, std::vector<int>& tests) {
    for (const char* p = list;;) {
        char* end;
        const long test = std::strtol(p, &end, 10);
        if (end == p || test < 1 || test > kExerciserTestCount) return false;
        tests.push_back(static_cast<int>(test));
        if (*end == '\0') return true;
        if (*end != ',') return false;
        p = end + 1;
    }
}

}  // namespace tavir
