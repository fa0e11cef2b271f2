// DSKIO on real image files: the medium limit, status maps and read-only images.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/machine.h"
#include "disk/disk_service_entries.h"
#include "disk/sector_io.h"
#include "disk_fixture.h"

namespace tavir::testing {
namespace {

class DiskIOService : public DiskTest {
protected:
    void SetUp() override {
        DiskTest::SetUp();
        writePatternImage("a.dsk", k720KSectors);
        mountSets("a.dsk\n");
    }

    // DSKIO with the given registers; carry chooses the direction.
    void dskio(uint8_t drive, uint8_t count, uint8_t descriptor, uint16_t first, uint16_t address,
               bool toDisk) {
        cpu.af.high = drive;
        cpu.af.low = toDisk ? kFlagC : 0;
        cpu.bc.high = count;
        cpu.bc.low = descriptor;
        cpu.de.word = first;
        cpu.hl.word = address;
        callService(kDSKIOEntry);
    }

    void expectFailure(uint8_t code, uint8_t transferred) {
        EXPECT_EQ(a(), code);
        EXPECT_EQ(f(), kFlagC) << "carry set, every other flag clear";
        EXPECT_EQ(cpu.bc.high, transferred);
    }
};

TEST_F(DiskIOService, ATransferStopsAtTheTopOfMemory) {
    dskio(0, 4, 0xF9, 20, 0xFE00, false);
    EXPECT_EQ(f(), 0xFE) << "the cut is no error";
    EXPECT_EQ(cpu.bc.high, 1);
    const Bytes expected = patternSector(20);
    // 0xFFFF is slot 3's secondary slot register, not memory.
    EXPECT_EQ(memory(0xFE00, 511), Bytes(expected.begin(), expected.end() - 1));
    EXPECT_EQ(ram_[0x0000], 0) << "nothing wrapped round";

    dskio(0, 4, 0xF9, 30, 0xFE00, true);
    EXPECT_EQ(cpu.bc.high, 1);
    EXPECT_NE(readImageSector("a.dsk", 30), patternSector(30));
    EXPECT_EQ(readImageSector("a.dsk", 31), patternSector(31));
}

TEST_F(DiskIOService, TheLastSectorOfTheMediumIsTheLimitAndOnlyDisksAreRead) {
    // Error -1: accepted. A descriptor below F8, or drive B without "bdrive.dfd" and a
    // third drive, fail before the medium is looked at.
    struct Case { uint8_t drive, descriptor; uint16_t first; uint8_t count; int error; };
    for (const Case& c :
         {Case{0, 0xF9, 1430, 10, -1}, Case{0, 0xF9, 1431, 10, kErrorRecordNotFound},
          Case{0, 0xF8, 719, 1, -1}, Case{0, 0xF8, 720, 1, kErrorRecordNotFound},
          Case{0, 0xFE, 320, 1, kErrorRecordNotFound}, Case{0, 0xF9, 0xFFFF, 255, kErrorRecordNotFound},
          Case{0, 0xF7, 0, 1, kErrorOther}, Case{1, 0xF9, 0, 1, kErrorNotReady},
          Case{2, 0xF9, 0, 1, kErrorNotReady}}) {
        SCOPED_TRACE(::testing::Message() << int(c.drive) << std::hex << " " << int(c.descriptor) << " " << c.first);
        std::fill_n(ram_.get() + 0x4000, 0x2000, 0);
        dskio(c.drive, c.count, c.descriptor, c.first, 0x4000, false);
        if (c.error < 0) {
            EXPECT_EQ(f(), 0xFE);
            EXPECT_EQ(cpu.bc.high, c.count);
        } else {
            expectFailure(static_cast<uint8_t>(c.error), 0);
            EXPECT_TRUE(cpu.stateFlags & kIFF1);
            EXPECT_EQ(memory(0x4000, 512), Bytes(512, 0)) << "nothing is read";
        }
    }
}

TEST_F(DiskIOService, StatusMapCodesDecideEachSector) {
    writePatternImage("m.dsk", k720KSectors);
    Bytes map(kStatusMapSize, kStatusDone);
    map[10] = kErrorWriteProtected;
    map[11] = kErrorData;
    writeFile("m.dds", map);
    writeTextFile("adrive.dfd", "m.dsk\n");
    initDrives();
    std::fill_n(ram_.get() + 0x9000, 512, 0x77);

    struct Case {
        uint16_t sector;
        bool toDisk;
        int error;  // -1: the transfer succeeds
    };
    for (const Case& c : {Case{10, false, -1}, Case{10, true, kErrorWriteProtected},
                          Case{11, false, kErrorData}, Case{11, true, kErrorData},
                          Case{12, true, -1}}) {  // 15 is a normal sector
        SCOPED_TRACE(::testing::Message() << c.sector << (c.toDisk ? " write" : " read"));
        dskio(0, 1, 0xF9, c.sector, c.toDisk ? 0x9000 : 0x8000, c.toDisk);
        if (c.error < 0) {
            EXPECT_EQ(f(), 0xFE);
        } else {
            expectFailure(static_cast<uint8_t>(c.error), 0);
        }
    }
    EXPECT_EQ(memory(0x8000, 512), patternSector(10)) << "a write-protected sector reads";
    EXPECT_EQ(readImageSector("m.dsk", 12), Bytes(512, 0x77));
    EXPECT_EQ(readImageSector("m.dsk", 10), patternSector(10));
    EXPECT_EQ(readImageSector("m.dsk", 11), patternSector(11));

    dskio(0, 3, 0xF9, 9, 0x8000, false);
    expectFailure(kErrorData, 2);
    EXPECT_EQ(memory(0x8200, 512), patternSector(10)) << "sectors before the failure arrived";
}

TEST_F(DiskIOService, AReadOnlyImageReadsButRefusesWrites) {
    writePatternImage("ro.dsk", k720KSectors);
    std::filesystem::permissions(directory_.path(), std::filesystem::perms(0755));
    std::filesystem::permissions("ro.dsk", std::filesystem::perms(0444));
    writeTextFile("adrive.dfd", "ro.dsk\n");
    std::filesystem::permissions("adrive.dfd", std::filesystem::perms(0644));
    {
        UnprivilegedScope user;
        if (!user.effective()) GTEST_SKIP() << "cannot drop root rights to test permissions";
        initDrives();
    }
    ASSERT_TRUE(driveReady(0));
    dskio(0, 2, 0xF9, 7, 0x8000, false);
    EXPECT_EQ(f(), 0xFE);
    EXPECT_EQ(memory(0x8200, 512), patternSector(8));
    dskio(0, 1, 0xF9, 7, 0x9000, true);
    expectFailure(kErrorWriteFault, 0);
    EXPECT_EQ(readImageSector("ro.dsk", 7), patternSector(7));
}

}  // namespace
}  // namespace tavir::testing
