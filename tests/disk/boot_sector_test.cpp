// The boot sector that formatting writes, run on the Z80 the way the disk ROM runs it: loaded
// at 0xC000 and called at 0xC01E, with the DOS entry 0xF37D and the main BIOS (through
// CALSLT at 0x001C) played by the test.
#include "disk/boot_sector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint16_t kLoadAddress = 0xC000;
constexpr uint16_t kBootEntry = 0xC01E;
constexpr uint16_t kDOSEntry = 0xF37D;
constexpr uint16_t kCALSLT = 0x001C;
constexpr uint16_t kAbortVector = 0xF100;  // where the disk ROM keeps its abort address
constexpr uint16_t kFCB = 0xC09D;

struct DOSCall {
    uint8_t function;
    uint16_t de;
    uint16_t hl;
};

class BootProgram : public Z80Test {
protected:
    void SetUp() override {
        Z80Test::SetUp();
        std::copy(bootSectorTemplate.begin(), bootSectorTemplate.end(), ram_.get() + kLoadAddress);
        ram_[0xFCC0] = 0x42;  // EXPTBL - 1 and EXPTBL: the main BIOS slot in the high byte
        ram_[0xFCC1] = 0x81;
        ram_[kDOSEntry] = 0xC9;  // RET: the test answers the call before it returns
        ram_[kCALSLT] = 0xC9;
        cpu.sp = 0xF000;
    }

    // Runs from the boot entry with carry set (booting) until the program jumps to 0x0100.
    // The DOS answers opens with success and block reads with `bytesRead`.
    void boot(uint16_t bytesRead) {
        cpu.pc = kBootEntry;
        cpu.af.low = kFlagC;
        cpu.hl.word = kAbortVector;
        for (int steps = 0; steps < 100000; ++steps) {
            if (cpu.pc == 0x0100) return;
            if (cpu.pc == kDOSEntry) {
                calls.push_back({cpu.bc.low, cpu.de.word, cpu.hl.word});
                if (calls.size() > 3) return;
                if (cpu.bc.low == 0x0F) a() = 0;
                if (cpu.bc.low == 0x27) {
                    recordSizeAtRead =
                        static_cast<uint16_t>(ram_[kFCB + 14] | ram_[kFCB + 15] << 8);
                    randomRecordAtRead = Bytes(ram_.get() + kFCB + 33, ram_.get() + kFCB + 37);
                    cpu.hl.word = bytesRead;
                    a() = 1;  // end of file reached
                }
            }
            if (cpu.pc == kCALSLT) {
                EXPECT_EQ(cpu.iy.high, 0x81) << "the main BIOS slot";
                EXPECT_TRUE(cpu.stateFlags & kIFF1) << "CHGET needs the keyboard interrupt";
                if (cpu.ix.word == 0x00A2) printed.push_back(static_cast<char>(a()));
            }
            step();
        }
        FAIL() << "the boot program did not start DOS";
    }

    using Bytes = std::vector<uint8_t>;
    std::vector<DOSCall> calls;
    std::string printed;
    uint16_t recordSizeAtRead = 0;
    Bytes randomRecordAtRead;
};

TEST_F(BootProgram, LoadsTheSystemFileAndStartsIt) {
    std::fill_n(ram_.get() + kFCB + 12, 25, 0x99);  // left over from an earlier try
    boot(0x1A80);
    ASSERT_EQ(cpu.pc, 0x0100);
    ASSERT_EQ(calls.size(), 3u);
    const DOSCall expected[3] = {{0x0F, kFCB, 0}, {0x1A, 0x0100, 0}, {0x27, kFCB, 0x3F00}};
    for (size_t i = 0; i < 3; ++i) {  // open, set the transfer address, random block read
        EXPECT_EQ(calls[i].function, expected[i].function) << i;
        EXPECT_EQ(calls[i].de, expected[i].de) << i;
    }
    EXPECT_EQ(calls[2].hl, 0x3F00);
    EXPECT_EQ(recordSizeAtRead, 1);
    EXPECT_EQ(randomRecordAtRead, Bytes(4, 0)) << "read from the start of the file";
    EXPECT_EQ(printed, "");
    EXPECT_EQ(ram_[kAbortVector] | ram_[kAbortVector + 1] << 8, 0xC05C);
}

}  // namespace
}  // namespace tavir::testing
