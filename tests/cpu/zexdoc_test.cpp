// The Z80 instruction exerciser ZEXDOC on our own Z80 and memory map, and our own CP/M
// programs for what the exercisers leave out, all run by cpm-run: z80_extras prints the
// flags of LD A,I/R, IN r,(C), the block I/O group with their counts and pointers, and
// flag bits 5 and 3; z80_timing is straight-line code whose T-states were summed by hand
// from the data sheet (tests/cpu/programs explains the expected bytes beside each
// instruction).
// ZEXDOC is third-party data found beside the project (or through TAVIR_Z80_TESTDATA);
// its tests skip when it is absent. The optimised build runs all 67 of its tests, in three
// parts; debug and sanitizer builds a subset that still covers every prefix group.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tavir {
namespace {

namespace fs = std::filesystem;

int countOccurrences(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
    return count;
}

// cpm-run's standard output (and what the command redirects into it) and exit status; a
// program that never ends is stopped after five minutes.
std::string cpmRun(const std::string& arguments, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen((std::string("timeout 300 ") + TAVIR_CPM_RUN + " " + arguments).c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[256];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    const int result = pclose(pipe);
    if (status) *status = result;
    return output;
}

// A third of the exerciser's tests each (every third one, so the slow ones spread), to run
// side by side with the rest of the suite.
class Zexdoc : public ::testing::TestWithParam<int> {};

TEST_P(Zexdoc, EveryTestPasses) {
    const char* custom = std::getenv("TAVIR_Z80_TESTDATA");
    const fs::path program = (custom ? fs::path(custom) : fs::path(TAVIR_SHARED_DIR) / "testdata" / "z80") / "zexdoc.com";
    if (!fs::exists(program)) GTEST_SKIP() << program << " is not there; the exerciser is third-party data";
    const char* type = std::getenv("TAVIR_BUILD_TYPE");
    const bool all = type != nullptr && std::string(type) == "Release";
    const std::vector<int> subset = {9, 11, 12, 13, 14, 28, 29, 36, 40, 45, 47, 51, 53, 56, 57, 58, 59, 60, 63, 65};
    std::string list;
    int count = 0;
    for (int i = 0; i < (all ? 67 : static_cast<int>(subset.size())); ++i) {
        if (i % 3 != GetParam()) continue;
        if (count++ > 0) list.push_back(',');
        list.append(std::to_string(all ? i + 1 : subset[i]));
    }
    int status = -1;
    const std::string output = cpmRun("--tests " + list + " " + program.string(), &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(countOccurrences(output, "  OK"), count) << output;
    EXPECT_EQ(countOccurrences(output, "ERROR"), 0) << output;
    EXPECT_NE(output.find("Tests complete"), std::string::npos) << output;
}

INSTANTIATE_TEST_SUITE_P(Thirds, Zexdoc, ::testing::Range(0, 3));

TEST(Z80Programs, PrintWhatTheChipDoesAndTakeTheCountedTime) {
    const fs::path programs = TAVIR_PROGRAMS_DIR;
    if (!fs::exists(programs / "z80_extras.com")) GTEST_SKIP() << "z80asm is not installed";
    EXPECT_EQ(cpmRun((programs / "z80_extras.com").string()),
              "41 84 01 04 \r\n"
              "FF 85 84 \r\n"
              "03 43 00 02 FF 42 00 0F FF 42 00 23 FF 42 00 2F FF \r\n"
              "02 01 01 FF 43 00 00 FF 42 00 04 FF 42 00 01 FF \r\n"
              "28 00 A5 3B 00 29 00 38 \r\n\n");
    EXPECT_EQ(cpmRun("--stats " + (programs / "z80_timing.com").string() + " 2>&1 >/dev/null").substr(0, 23),
              "cpm-run: 1735 T-states ");
}

}  // namespace
}  // namespace tavir
