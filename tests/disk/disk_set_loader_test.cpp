// Disk sets on real files: how image and status-map names are taken from set lines, the
// loader's log messages, and what a drive can do after each kind of failure.
#include "disk/disk_set_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "disk/disk_set_names.h"
#include "disk/sector_io.h"
#include "disk/single_image_set.h"
#include "disk_fixture.h"

namespace tavir::testing {
namespace {

TEST(DiskSetNames, TheImageNameEndsAtTheFirstDskInAnyCase) {
    EXPECT_EQ(imageNameLength("dir/a.dSk"), 9u);
    EXPECT_EQ(imageNameLength("a.dsx.dsk"), 9u);
    EXPECT_EQ(imageNameLength("a.dskb.dsk"), 5u) << "the first occurrence counts";
    EXPECT_EQ(imageNameLength("disk one.DsK;comment"), 12u);
    EXPECT_EQ(imageNameLength("adsk"), 0u);
    EXPECT_EQ(imageNameLength("old.dsk.d/b.dsk x"), 15u) << "a folder's .dsk is not the image's";
}

using DiskSetLoader = DiskTest;

TEST_F(DiskSetLoader, WithoutSetFilesBothDrivesAreUnused) {
    mountSets(nullptr, nullptr);
    EXPECT_EQ(logText(), "A drive not use.\nB drive not use.\n");
    EXPECT_FALSE(driveReady(0));
    EXPECT_FALSE(driveReady(1));
    loadDiskFromSet(1, 1);
    EXPECT_EQ(logText(), "A drive not use.\nB drive not use.\nB drive is not used.\n");
}

TEST_F(DiskSetLoader, ALineWithAPathAndACommentLoadsThePathAndItsMap) {
    std::filesystem::create_directory("disks");
    writePatternImage("disks/GAME.DSK", k720KSectors);
    Bytes map(kStatusMapSize, kStatusDone);
    map[3] = kErrorData;
    writeFile("disks/GAME.Dds", map);
    mountSets("disks/GAME.DSK  the game\r\n");

    EXPECT_EQ(logText(), "B drive not use.\n");
    ASSERT_TRUE(driveReady(0));
    Bytes sector(512);
    EXPECT_EQ(readSector(0, 2, sector.data()), kStatusDone);
    EXPECT_EQ(sector, patternSector(2));
    EXPECT_EQ(readSector(0, 3, sector.data()), kErrorData) << "the map is in force";
}

TEST_F(DiskSetLoader, EachFailureIsLoggedAndLeavesTheDriveEmptyButUsable) {
    writePatternImage("one.dsk", 4);
    writePatternImage("two.dsk", 4);
    mountSets("one.dsk\nreadme.txt\ngone.dsk\ntwo.dsk");
    ASSERT_TRUE(driveReady(0));

    struct Case { uint8_t disk; const char* message; };
    for (const Case& c : {Case{5, "#5 disk not exist.\n"}, Case{0, "#0 disk not exist.\n"},
                          Case{2, "A #2 bad file name.\n"}, Case{3, "gone.dsk cannot open.\n"}}) {
        SCOPED_TRACE(c.message);
        loadDiskFromSet(0, 1);
        ASSERT_TRUE(driveReady(0));
        const std::string before = logText();
        loadDiskFromSet(0, c.disk);
        EXPECT_EQ(logText(), before + c.message);
        EXPECT_FALSE(driveReady(0));
        EXPECT_EQ(drives[0].diskNumber, 1u) << "the number of the last good disk stays";
        Bytes sector(512, 0xEE);
        EXPECT_EQ(readSector(0, 0, sector.data()), kErrorNotReady);
        EXPECT_EQ(writeSector(0, 0, sector.data()), kErrorNotReady);
    }
    loadDiskFromSet(0, 4);
    EXPECT_TRUE(driveReady(0)) << "a last line without a line end still counts";
    EXPECT_EQ(drives[0].diskNumber, 4u);
}

using SingleImageSet = DiskTest;

TEST_F(SingleImageSet, AChosenImageBecomesAOneImageSetOfItsOwn) {
    mountSets(nullptr, nullptr);
    const std::string path = (directory_.path() / "x.DSK").string();
    writePatternImage(path, 4);

    useChosenDiskFile(0, path.c_str());
    std::string expected = path;
    expected.push_back('\0');
    EXPECT_EQ(readTextFile("singlea.dfd"), expected) << "the path and its zero byte, no line end";
    ASSERT_TRUE(driveReady(0));
    Bytes sector(512);
    EXPECT_EQ(readSector(0, 1, sector.data()), kStatusDone);
    EXPECT_EQ(sector, patternSector(1));
}

using SharedImage = DiskTest;

// MSX-DOS reads the FAT back after writing it: whichever drive wrote a sector, a read
// through the other drive must return it, or a stale FAT is written back over the disk.
TEST_F(SharedImage, EveryReadSeesEveryEarlierWriteWhicheverDriveMadeIt) {
    writePatternImage("disk.dsk", 8);
    mountSets("disk.dsk\n", "./disk.dsk\n");
    Bytes sector(512);
    ASSERT_EQ(readSector(1, 1, sector.data()), kStatusDone);  // B holds sector 1 now
    for (uint32_t round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const uint8_t writer = round % 2, reader = 1 - writer;
        const Bytes written(512, static_cast<uint8_t>(0xA0 + round));
        ASSERT_EQ(writeSector(writer, 1, written.data()), kStatusDone);
        ASSERT_EQ(readSector(reader, 1, sector.data()), kStatusDone);
        EXPECT_EQ(sector, written);
    }
}

TEST_F(SharedImage, AShortImageFailsWritesPastItsEndAsItFailsReadsAndKeepsItsSize) {
    writePatternImage("cut.dsk", 3);
    { std::ofstream("cut.dsk", std::ios::app) << "half"; }  // a cut-off fourth sector
    mountSets("cut.dsk\n");
    const Bytes sector(512, 0x55);
    Bytes read(512);
    for (uint32_t n : {3u, 4u, 719u}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(readSector(0, n, read.data()), kErrorData);
        EXPECT_EQ(writeSector(0, n, sector.data()), kErrorData);
    }
    EXPECT_EQ(writeSector(0, 2, sector.data()), kStatusDone) << "inside the image writes work";
    EXPECT_EQ(std::filesystem::file_size("cut.dsk"), 3u * 512 + 4);
}

TEST_F(SharedImage, ANamedPipeIsNeverOpenedAsAnImage) {
    ASSERT_EQ(mkfifo("pipe.dsk", 0600), 0);
    mountSets("pipe.dsk\n");  // an open of a pipe with no writer would wait for ever
    EXPECT_FALSE(driveReady(0));
    EXPECT_EQ(logText(), "pipe.dsk cannot open.\nB drive not use.\n");
}

TEST_F(SingleImageSet, AOneImageSetThatCannotBeWrittenLeavesTheDriveWithoutASet) {
    writePatternImage("x.dsk", 2);
    std::filesystem::create_directory("singlea.dfd");
    mountSets("x.dsk\n");
    useChosenDiskFile(0, "x.dsk");
    EXPECT_FALSE(driveReady(0));
    EXPECT_EQ(logText(), "B drive not use.\nA drive is not used.\n");
}

}  // namespace
}  // namespace tavir::testing
