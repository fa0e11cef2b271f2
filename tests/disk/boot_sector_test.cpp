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

    // Runs from the boot entry with carry set (booting) until the program jumps to 0x0100
    // or calls the DOS for the `stopAtCall`th time. The DOS answers opens with
    // `openResult` and block reads with `bytesRead`.
    void boot(uint8_t openResult, uint16_t bytesRead, size_t stopAtCall) {
        cpu.pc = kBootEntry;
        cpu.af.low = kFlagC;
        cpu.hl.word = kAbortVector;
        for (int steps = 0; steps < 100000; ++steps) {
            if (cpu.pc == 0x0100) return;
            if (cpu.pc == kDOSEntry) {
                calls.push_back({cpu.bc.low, cpu.de.word, cpu.hl.word});
                if (calls.size() == stopAtCall) return;
                if (cpu.bc.low == 0x0F) a() = openResult;
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
                if (cpu.ix.word == 0x009F) {
                    ++keyWaits;
                    a() = ' ';
                }
            }
            step();
        }
        FAIL() << "the boot program neither started DOS nor called it again";
    }

    using Bytes = std::vector<uint8_t>;
    std::vector<DOSCall> calls;
    std::string printed;
    int keyWaits = 0;
    uint16_t recordSizeAtRead = 0;
    Bytes randomRecordAtRead;
};

TEST_F(BootProgram, TheSectorHoldsItsTextsWhereTheyBelong) {
    const std::string sector(bootSectorTemplate.begin(), bootSectorTemplate.end());
    EXPECT_EQ(sector.substr(119, 38), "Boot error\r\nPress any key for retry\r\n$");
    EXPECT_EQ(sector.substr(158, 11), "MSXDOS  SYS");
    EXPECT_EQ(sector[157], '\0') << "the FCB's drive: the boot drive";
    EXPECT_EQ(sector.substr(3, 8), "VFB-1989");
    EXPECT_EQ(sector.substr(269), std::string(243, '\0'));
}

TEST_F(BootProgram, TheFirstCallReturnsAtOnce) {
    cpu.sp = 0xEFFE;
    ram_[0xEFFE] = 0x34;  // return address 0x1234
    ram_[0xEFFF] = 0x12;
    cpu.pc = kBootEntry;
    cpu.af.low = 0;  // carry clear: the disk ROM is still starting up
    cpu.hl.word = kAbortVector;
    step();
    EXPECT_EQ(cpu.pc, 0x1234);
    EXPECT_EQ(cpu.sp, 0xF000);
    EXPECT_EQ(ram_[kAbortVector], 0) << "nothing is set up yet";
}

TEST_F(BootProgram, LoadsTheSystemFileAndStartsIt) {
    std::fill_n(ram_.get() + kFCB + 12, 25, 0x99);  // left over from an earlier try
    boot(0x00, 0x1A80, 99);
    ASSERT_EQ(cpu.pc, 0x0100);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].function, 0x0F) << "open";
    EXPECT_EQ(calls[0].de, kFCB);
    EXPECT_EQ(calls[1].function, 0x1A) << "set the transfer address";
    EXPECT_EQ(calls[1].de, 0x0100);
    EXPECT_EQ(calls[2].function, 0x27) << "random block read";
    EXPECT_EQ(calls[2].de, kFCB);
    EXPECT_EQ(calls[2].hl, 0x3F00);
    EXPECT_EQ(recordSizeAtRead, 1);
    EXPECT_EQ(randomRecordAtRead, Bytes(4, 0)) << "read from the start of the file";
    EXPECT_EQ(printed, "");
    EXPECT_EQ(ram_[kAbortVector] | ram_[kAbortVector + 1] << 8, 0xC05C);
}

TEST_F(BootProgram, WithoutTheSystemFileItSaysSoWaitsAndTriesAgain) {
    struct Case {
        const char* what;
        uint8_t openResult;
        size_t retryCall;  // the DOS call that opens the file again
    };
    for (const Case& c : {Case{"not found", 0xFF, 2}, Case{"empty", 0x00, 4}}) {
        SCOPED_TRACE(c.what);
        calls.clear();
        printed.clear();
        keyWaits = 0;
        boot(c.openResult, 0, c.retryCall);
        ASSERT_EQ(calls.size(), c.retryCall);
        EXPECT_EQ(printed, "Boot error\r\nPress any key for retry\r\n");
        EXPECT_EQ(keyWaits, 1);
        EXPECT_EQ(calls.back().function, 0x0F);
        EXPECT_EQ(calls.back().de, kFCB);
        EXPECT_EQ(std::string(ram_.get() + kFCB + 1, ram_.get() + kFCB + 12), "MSXDOS  SYS");
    }
}

TEST_F(BootProgram, ADiskErrorAbortEndsInTheSamePrompt) {
    boot(0x00, 0x1000, 99);  // sets the abort vector on the way
    calls.clear();
    cpu.pc = static_cast<uint16_t>(ram_[kAbortVector] | ram_[kAbortVector + 1] << 8);
    cpu.sp = 0x8123;  // somewhere deep in DOS
    for (int steps = 0; steps < 100000 && cpu.pc != kDOSEntry; ++steps) {
        if (cpu.pc == kCALSLT && cpu.ix.word == 0x00A2) printed.push_back(static_cast<char>(a()));
        step();
    }
    EXPECT_EQ(printed, "Boot error\r\nPress any key for retry\r\n");
    EXPECT_EQ(cpu.sp, 0xF51F - 2) << "a fresh stack, with the return address of the open";
}

}  // namespace
}  // namespace tavir::testing
