// tavir-headless run as a program: a C-BIOS run, its result line, and its answers to a
// failed start-up and to bad command lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "support/machine_fixture.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

class HeadlessRunnerTest : public testing::MachineDirectoryTest {
protected:
    // Runs tavir-headless on the test's working directory; the output goes to files in
    // another temporary directory so that it can't mix with what the program writes.
    ProgramRun run(const std::string& arguments) {
        const fs::path out = outputs_ / "stdout.txt", err = outputs_ / "stderr.txt";
        // A run that never ends (a refused option accepted by mistake, say) is stopped
        // after a minute and fails instead of holding up the whole suite.
        const std::string command = "timeout 60 " + std::string(TAVIR_HEADLESS) + " --dir " +
                                    directory_.path().string() + " " + arguments + " >" +
                                    out.string() + " 2>" + err.string() + " </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::readTextFile(out),
                testing::readTextFile(err)};
    }

    std::string log() const { return testing::readTextFile(directory_.path() / "TAVIRlog.txt"); }

    void SetUp() override {
        MachineDirectoryTest::SetUp();
        std::string pattern = (fs::temp_directory_path() / "tavir-output-XXXXXX").string();
        outputs_ = mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(outputs_, ignored);
    }

    fs::path outputs_;
};

const std::regex kResultLine(
    R"(^(\d+) frames in \d+\.\d{3} s: \d+\.\d frames/s, \d+\.\d{2}x real time\n$)");

// What the run shows is the golden runs' matter; here only its result line.
TEST_F(HeadlessRunnerTest, RunsCBIOSForTheFramesAskedAndReportsTheSpeed) {
    const ProgramRun result = run("--frames 300 --unpaced");
    EXPECT_EQ(result.status, 0) << result.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(result.out, match, kResultLine)) << result.out;
    EXPECT_EQ(match[1], "300");
    EXPECT_EQ(result.err, "");
}

// F6 (0x40) asks for a disk number; the script's later keys still come while the command
// waits, and the frame limit ends the run even when no number ever comes.
TEST_F(HeadlessRunnerTest, ScriptedKeysReachAWaitingCommandAndTheFrameLimitEndsIt) {
    const struct { const char* keys; const char* inLog; bool endsWaiting; } cases[] = {
        {"--key 5:40 --key 20:02", "A drive is not used.\n", false},  // the 1 key: disk 1
        {"--key 5:40", "initMSX Succeed.\n", true},
    };
    for (const auto& c : cases) {
        const ProgramRun result = run(std::string("--frames 40 --unpaced ") + c.keys);
        EXPECT_EQ(result.status, 0) << c.keys << ": " << result.err;
        EXPECT_NE(log().find(c.inLog), std::string::npos) << c.keys << ": " << log();
        EXPECT_EQ(result.err.find("while a command waited for its key") != std::string::npos,
                  c.endsWaiting)
            << c.keys << ": " << result.err;
    }
}

TEST_F(HeadlessRunnerTest, BadCommandLinesAreRefusedWithAReason) {
    const struct { const char* arguments; const char* inError; } cases[] = {
        {"--key 1:xyz", "CODE"},  // the parser's other refusals: headless_options_test
        {"--midi", "--midi needs a value"},
        {"--dir /nonexistent/tavir", "/nonexistent/tavir"},
    };
    for (const auto& c : cases) {
        const ProgramRun result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_NE(result.err.find(c.inError), std::string::npos)
            << c.arguments << ": " << result.err;
    }
    EXPECT_FALSE(fs::exists(directory_.path() / "TAVIRlog.txt"));  // nothing was started
}

}  // namespace
}  // namespace tavir
