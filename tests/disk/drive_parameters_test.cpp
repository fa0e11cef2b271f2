// GETDPB and DSKFMT on real image files: the sectors a format writes, and the disks and
// drives both refuse (the golden run of our disk-services cartridge shows a 720 KB
// format's parameter block).
#include <gtest/gtest.h>

#include "disk/boot_sector.h"
#include "disk/disk_service_entries.h"
#include "disk/sector_io.h"
#include "disk_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint16_t kDPB = 0xC000;

class DriveParameters : public DiskTest {
protected:
    void SetUp() override {
        DiskTest::SetUp();
        writePatternImage("a.dsk", k720KSectors);
        std::fill_n(ram_.get() + kDPB, 32, 0xEE);
    }

    void format(uint8_t choice, uint8_t drive) {
        cpu.af.high = choice;
        cpu.af.low = 0;
        cpu.de.high = drive;
        callService(kDSKFMTEntry);
    }

    void getDPB(uint8_t drive) {
        cpu.af.high = drive;
        cpu.af.low = kFlagC | kFlagZ;
        cpu.hl.word = kDPB;
        callService(kGETDPBEntry);
    }

    // Puts `sector` as sector 0 of a.dsk before the drive opens it.
    void writeBootSector(const Bytes& sector) {
        std::fstream file("a.dsk", std::ios::binary | std::ios::in | std::ios::out);
        file.write(reinterpret_cast<const char*>(sector.data()), 512);
    }

    Bytes templateWith(int offset, std::initializer_list<uint8_t> bytes) {
        Bytes sector(bootSectorTemplate.begin(), bootSectorTemplate.end());
        for (uint8_t byte : bytes) sector[offset++] = byte;
        return sector;
    }

    void expectDPBUntouched() { EXPECT_EQ(memory(kDPB, 32), Bytes(32, 0xEE)); }
};

TEST_F(DriveParameters, A360KFormatWritesEverySectorOfItsMedium) {
    mountSets("a.dsk\n");
    format(2, 0);
    EXPECT_EQ(f() & kFlagC, 0);

    const Bytes boot = readImageSector("a.dsk", 0);
    EXPECT_EQ(Bytes(boot.begin() + 11, boot.begin() + 30),
              (Bytes{0x00, 0x02, 2, 1, 0, 2, 112, 0, 0xD0, 0x02, 0xF8, 2, 0, 9, 0, 1, 0, 0, 0}));

    Bytes fat(512, 0);
    fat[0] = 0xF8;
    fat[1] = fat[2] = 0xFF;
    const Bytes zeros(512, 0);
    const Bytes erased(512, 0xFF);
    EXPECT_EQ(readImageSector("a.dsk", 1), fat);
    EXPECT_EQ(readImageSector("a.dsk", 3), fat) << "the second FAT";
    for (uint32_t n : {2, 4, 5, 11}) EXPECT_EQ(readImageSector("a.dsk", n), zeros) << n;
    for (uint32_t n = 12; n < 720; ++n) ASSERT_EQ(readImageSector("a.dsk", n), erased) << n;
    EXPECT_EQ(readImageSector("a.dsk", 720), patternSector(720)) << "the format ends at 720";
}

TEST_F(DriveParameters, FormatRefusesUnknownChoicesAndEmptyDrives) {
    mountSets("a.dsk\n");
    format(3, 0);
    EXPECT_EQ(a(), kErrorOther);
    EXPECT_EQ(f(), kFlagC);
    format(1, 1);
    EXPECT_EQ(a(), kErrorNotReady);
    EXPECT_EQ(f(), kFlagC);
    EXPECT_EQ(readImageSector("a.dsk", 0), patternSector(0));
}

TEST_F(DriveParameters, BootSectorsWithoutAUsableGeometryGiveNoDPB) {
    for (const Bytes& boot : {templateWith(11, {0x00, 0x00}), templateWith(11, {31, 0x00}),
                              templateWith(13, {0})}) {
        writeBootSector(boot);
        mountSets("a.dsk\n");
        getDPB(0);
        EXPECT_EQ(a(), kErrorOther);
        EXPECT_EQ(f(), kFlagC);
        expectDPBUntouched();
    }

}

TEST_F(DriveParameters, AFormatOfAReadOnlyImageFails) {
    std::filesystem::permissions(directory_.path(), std::filesystem::perms(0755));
    std::filesystem::permissions("a.dsk", std::filesystem::perms(0444));
    writeTextFile("adrive.dfd", "a.dsk\n");
    {
        UnprivilegedScope user;
        if (!user.effective()) GTEST_SKIP() << "cannot drop root rights to test permissions";
        initDrives();
    }
    format(1, 0);
    EXPECT_EQ(a(), kErrorWriteFault);
    EXPECT_EQ(f(), kFlagC);
    EXPECT_EQ(readImageSector("a.dsk", 0), patternSector(0));
}

TEST_F(DriveParameters, AnUnreadableBootSectorGivesNoDPB) {
    writeFile("empty.dsk", Bytes(100, 0));  // shorter than one sector
    Bytes map(kStatusMapSize, kStatusDone);
    map[0] = kErrorSeek;
    writeFile("a.dds", map);
    mountSets("a.dsk\n", "empty.dsk\n");
    for (uint8_t drive : {0, 1}) {
        getDPB(drive);
        EXPECT_EQ(a(), kErrorOther);
        EXPECT_EQ(f(), kFlagC);
        expectDPBUntouched();
    }
    getDPB(2);
    EXPECT_EQ(a(), kErrorNotReady);
}

}  // namespace
}  // namespace tavir::testing
