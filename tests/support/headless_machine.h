// A machine started from a temporary working directory with the system ROMs, on the
// headless host with its manual clock and without pacing, so frames run as fast as the
// test can; everything the run changes in the shared records is put back afterwards.
#pragma once

#include "core/emulation_control.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "host/headless_host.h"
#include "support/machine_fixture.h"
#include "video/frame_buffer.h"

namespace tavir::testing {

class HeadlessMachineTest : public MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(initMSX());
        installHeadlessHost(HeadlessClock::kManual);
        framePacing.paced = false;
        emulationStopRequested.store(false);
        display.displayMode = 0;
    }
    void TearDown() override {
        shutdownMSX();
        installHeadlessHost(HeadlessClock::kReal);
        framePacing.paced = true;
        emulationStopRequested.store(false);
        commandCode.store(kCommandNone);
        display.displayMode = 0;
    }
};

}  // namespace tavir::testing
