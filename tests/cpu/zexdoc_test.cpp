// The Z80 instruction exerciser ZEXDOC on our own Z80 and memory map. The program is
// third-party data found beside the project (or through TAVIR_Z80_TESTDATA); the test
// skips when it is absent. The optimised build runs all 67 tests; debug and sanitizer
// builds run a quick subset.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cpm_harness.h"

namespace tavir {
namespace {

std::filesystem::path testDataDirectory() {
    if (const char* custom = std::getenv("TAVIR_Z80_TESTDATA")) return custom;
    return std::filesystem::path(TAVIR_SHARED_DIR) / "testdata" / "z80";
}

bool optimisedBuild() {
    const char* type = std::getenv("TAVIR_BUILD_TYPE");
    return type != nullptr && std::string(type) == "Release";
}

int countOccurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
    return count;
}

struct CommandResult {
    std::string output;
    int status;
};

CommandResult runCommand(const std::string& command) {
    CommandResult result{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[256];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
    result.status = pclose(pipe);
    return result;
}

struct ExerciserRun {
    std::string output;
    CPMRun run;
};

ExerciserRun runExerciser(const std::filesystem::path& program, const std::vector<int>& tests) {
    ExerciserRun result;
    std::vector<uint8_t> image;
    std::string error;
    EXPECT_TRUE(readWholeFile(program.string(), image, error)) << error;
    CPMHarness harness([&result](char c) { result.output.push_back(c); });
    EXPECT_TRUE(harness.load(image));
    if (!tests.empty()) {
        EXPECT_TRUE(harness.selectExerciserTests(tests));
    }
    result.run = harness.run(60'000'000'000ULL);
    return result;
}

TEST(Zexdoc, EveryTestPasses) {
    const auto program = testDataDirectory() / "zexdoc.com";
    if (!std::filesystem::exists(program)) {
        GTEST_SKIP() << program
                     << " is not there; the exerciser is third-party data kept outside the project";
    }

    // The subset covers every prefix group at a fraction of the cost: inc/dec, 16-bit
    // loads and stores, the block instructions, rotates, shifts, BIT/SET/RES and the
    // index forms, DAA/CPL/SCF/CCF, NEG, RRD/RLD.
    std::vector<int> tests;
    if (!optimisedBuild()) tests = {9, 11, 12, 13, 14, 28, 29, 36, 40, 45, 47, 51, 53, 56, 57, 58, 59, 60, 63, 65};
    const ExerciserRun result = runExerciser(program, tests);

    const int expected = tests.empty() ? kExerciserTestCount : static_cast<int>(tests.size());
    EXPECT_TRUE(result.run.finished) << "stopped at " << result.run.stoppedAt;
    EXPECT_EQ(countOccurrences(result.output, "  OK"), expected) << result.output;
    EXPECT_EQ(countOccurrences(result.output, "ERROR"), 0) << result.output;
    EXPECT_NE(result.output.find("Tests complete"), std::string::npos);
}

TEST(CpmRun, PrintsTheProgramsOutputAndEndsAtWarmBoot) {
    const auto program = testDataDirectory() / "zexdoc.com";
    if (!std::filesystem::exists(program)) {
        GTEST_SKIP() << program << " is not there";
    }
    const auto [output, status] =
        runCommand(std::string(TAVIR_CPM_RUN) + " --tests 33,34 " + program.string());
    EXPECT_EQ(status, 0);
    EXPECT_NE(output.find("Z80 instruction exerciser"), std::string::npos);
    EXPECT_NE(output.find("ld <bc,de>,(nnnn).............  OK"), std::string::npos) << output;
    EXPECT_NE(output.find("ld hl,(nnnn)..................  OK"), std::string::npos) << output;
}

TEST(CpmRun, RefusesAMissingProgram) {
    const auto [output, status] = runCommand(std::string(TAVIR_CPM_RUN) + " /nonexistent/program.com 2>&1");
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("/nonexistent/program.com"), std::string::npos) << output;
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

// A program that prints through the BDOS and ends: the T-states counted are exactly those
// of its own instructions, by the published counts, whatever the harness does at its traps.
TEST(CpmHarness, CountsOnlyTheTStatesTheProgramRan) {
    std::string printed;
    CPMHarness harness([&printed](char c) { printed.push_back(c); });
    // LD C,2 (7); LD E,'A' (7); CALL 5 (17); JP 0 (10)
    ASSERT_TRUE(harness.load({0x0E, 0x02, 0x1E, 0x41, 0xCD, 0x05, 0x00, 0xC3, 0x00, 0x00}));
    const CPMRun run = harness.run(1'000'000);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(printed, "A");
    EXPECT_EQ(run.tStates, 7u + 7 + 17 + 10);
}

}  // namespace
}  // namespace tavir
