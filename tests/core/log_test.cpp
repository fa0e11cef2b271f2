// The log on disk: a program killed without warning still leaves every line it wrote.
#include "core/log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/machine_fixture.h"

namespace tavir::testing {
namespace {

TEST(Log, EveryLineIsInTheFileWhenTheProgramIsKilled) {
    TemporaryWorkingDirectory directory;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!openLog()) _exit(1);
        logPrint("MSXSpeed = %x\n", 0xE4);
        logPrint("initMSX Succeed.\n");
        raise(SIGKILL);  // no exit, no flush
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readTextFile(kLogFileName), "MSXSpeed = e4\ninitMSX Succeed.\n");
}

}  // namespace
}  // namespace tavir::testing
