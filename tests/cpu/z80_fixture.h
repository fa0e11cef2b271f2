// A Z80 on 64 KB of flat RAM (all four pages on the mapper RAM of slot 3-2, in order), for
// executing short instruction sequences and looking at registers, memory and T-states.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "core/machine.h"
#include "cpu/cpu_tables.h"
#include "cpu/z80.h"
#include "memory/memory_map.h"

namespace tavir::testing {

class Z80Test : public ::testing::Test {
protected:
    static constexpr int32_t kLargeBudget = 1'000'000;

    void SetUp() override {
        std::fill_n(ram_.get(), kRAMSize, 0);  // before the map puts the slot register in
        initMemoryMap(emptyRAM_.get());
        attachRAM(ram_.get());
        resetMemoryMap();
        // Segment n in page n, so that ram_[address] is what the Z80 sees at address.
        for (int page = 0; page < 4; ++page) setMapperPage(page, static_cast<uint8_t>(page));
        setPrimarySlots(0xFF);
        setSecondarySlots(0xAA);
        cpu.MSXSpeed = kLargeBudget;
        resetCPU(cpu);
    }

    // Places `bytes` at `address` and points PC there.
    void load(uint16_t address, std::initializer_list<uint8_t> bytes) {
        uint16_t at = address;
        for (uint8_t byte : bytes) writeMemory(at++, byte);
        cpu.pc = address;
    }

    // Executes one instruction and returns the T-states it charged.
    int step() {
        const int32_t before = cpu.cycleCount;
        executeInstruction(cpu);
        return before - cpu.cycleCount;
    }

    uint8_t& a() { return cpu.af.high; }
    uint8_t& f() { return cpu.af.low; }

    std::unique_ptr<uint8_t[]> emptyRAM_{new uint8_t[kEmptyRAMSize]()};
    std::unique_ptr<uint8_t[]> ram_{new uint8_t[kRAMSize]()};
};

}  // namespace tavir::testing
