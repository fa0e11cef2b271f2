// Our own Z80 programs for what the instruction exercisers leave out, run by cpm-run:
// z80_extras prints the flags of LD A,I/R, IN r,(C) and the block I/O group with their
// counts and pointers; z80_timing is straight-line code whose T-states were summed by
// hand from the data sheet. Both are in tests/cpu/programs, with the expected bytes
// explained beside each instruction.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tavir {
namespace {

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        size_t count;
        while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
        pclose(pipe);
    }
    return output;
}

TEST(Z80Programs, PrintWhatTheChipDoesAndTakeTheCountedTime) {
    const std::filesystem::path programs = TAVIR_PROGRAMS_DIR;
    if (!std::filesystem::exists(programs / "z80_extras.com")) GTEST_SKIP() << "z80asm is not installed";
    const std::string cpmRun = TAVIR_CPM_RUN;
    EXPECT_EQ(run(cpmRun + " " + (programs / "z80_extras.com").string()),
              "41 84 01 04 \r\n"
              "FF 85 84 \r\n"
              "03 43 00 02 FF 42 00 0F FF 42 00 23 FF 42 00 2F FF \r\n"
              "02 01 01 FF 43 00 00 FF 42 00 04 FF 42 00 01 FF \r\n\n");
    EXPECT_EQ(run(cpmRun + " --stats " + (programs / "z80_timing.com").string() + " 2>&1 >/dev/null")
                  .substr(0, 23),
              "cpm-run: 1735 T-states ");
}

}  // namespace
}  // namespace tavir
