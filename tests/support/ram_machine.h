// A machine with the mapper RAM on all four pages and nothing else, for tests of the run
// loop and the line step: programs are poked into RAM, the VDP registers start at 0, the
// host is headless with the manual clock, and frames are unpaced unless a test says so.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "core/emulation_control.h"
#include "core/frame_end.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "core/run_loop.h"
#include "cpu/z80.h"
#include "core/settings.h"
#include "host/headless_host.h"
#include "memory/io_ports.h"
#include "memory/memory_map.h"
#include "video/vdp_state.h"

namespace tavir::testing {

constexpr int32_t kTestMSXSpeed = 228;

class RAMMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(ram_.get(), 0, kRAMSize);  // NOP everywhere, before the map is built
        initMemoryMap(emptyRAM_.get());
        attachRAM(ram_.get());
        resetMemoryMap();
        setPrimarySlots(0xFF);                 // slot 3 on every page ...
        setSecondarySlots(0xAA);               // ... secondary slot 2, the mapper RAM

        settings = Settings{};
        settings.MSXSpeed = kTestMSXSpeed;
        cpu.MSXSpeed = kTestMSXSpeed;
        resetCPU(cpu);
        std::memset(vdp.vdpRegister, 0, sizeof vdp.vdpRegister);
        std::memset(vdp.vdpStatus, 0, sizeof vdp.vdpStatus);
        resetPortDevices();
        fillFrameSchedule();

        installHeadlessHost(HeadlessClock::kManual);
        framePacing.paced = false;
        frameEndState = FrameEndState{};
        emulationStopRequested.store(false);
        enterRunLoop();
    }

    void TearDown() override {
        framePacing.paced = true;
        installHeadlessHost(HeadlessClock::kReal);
        settings = Settings{};
        commandCode.store(kCommandNone);
        emulationStopRequested.store(false);
    }

    void poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
        for (uint8_t byte : bytes) writeMemory(address++, byte);
    }

    std::unique_ptr<uint8_t[]> emptyRAM_{new uint8_t[kEmptyRAMSize]()};
    std::unique_ptr<uint8_t[]> ram_{new uint8_t[kRAMSize]()};
};

}  // namespace tavir::testing
