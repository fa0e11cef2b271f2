// Disk sets on real files: how image and status-map names are taken from set lines, the
// loader's log messages, and what a drive can do after each kind of failure.
#include "disk/disk_set_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "disk/disk_set_names.h"
#include "disk/sector_io.h"
#include "disk/single_image_set.h"
#include "disk_fixture.h"

namespace tavir::testing {
namespace {

std::string statusMapNameOf(const std::string& imageName) {
    std::string mapName(imageName.size(), '?');
    makeStatusMapName(imageName.c_str(), imageName.size(), mapName.data());
    return mapName;
}

TEST(DiskSetNames, TheImageNameEndsAtTheFirstDskInAnyCase) {
    EXPECT_EQ(imageNameLength("dir/a.dSk"), 9u);
    EXPECT_EQ(imageNameLength("a.dsx.dsk"), 9u);
    EXPECT_EQ(imageNameLength("a.dskb.dsk"), 5u) << "the first occurrence counts";
    EXPECT_EQ(imageNameLength("disk one.DsK;comment"), 12u);
    EXPECT_EQ(imageNameLength("adsk"), 0u);
}

TEST(DiskSetNames, TheStatusMapEndsInDsAfterTheExtensionsFirstLetter) {
    EXPECT_EQ(statusMapNameOf("GAME.DSK"), "GAME.Dds");
    EXPECT_EQ(statusMapNameOf("d.dsk/x.dSK"), "d.dsk/x.dds");
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

    struct Case {
        uint8_t disk;
        const char* message;
    };
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
