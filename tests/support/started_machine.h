// A machine started the way the program starts it (log, configuration defaults, the five
// system ROM images from a temporary working directory) and shut down after the test.
#pragma once

#include "core/machine.h"
#include "core/log.h"
#include "support/machine_fixture.h"

namespace tavir::testing {

class StartedMachineTest : public MachineDirectoryTest {
protected:
    void SetUp() override {
        MachineDirectoryTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(openLog());
        ASSERT_TRUE(initMSX()) << readTextFile(directory_.path() / kLogFileName);
    }
    void TearDown() override { shutdownMSX(); }
};

}  // namespace tavir::testing
