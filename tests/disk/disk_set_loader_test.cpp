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
    EXPECT_EQ(imageNameLength("GAME.DSK  the game\r"), 8u);
    EXPECT_EQ(imageNameLength("dir/a.dSk"), 9u);
    EXPECT_EQ(imageNameLength(".dsk"), 4u);
    EXPECT_EQ(imageNameLength("a.dsx.dsk"), 9u);
    EXPECT_EQ(imageNameLength("a.dskb.dsk"), 5u) << "the first occurrence counts";
    EXPECT_EQ(imageNameLength("disk one.DsK;comment"), 12u);
    EXPECT_EQ(imageNameLength("a.ds"), 0u);
    EXPECT_EQ(imageNameLength("adsk"), 0u);
    EXPECT_EQ(imageNameLength(""), 0u);
}

TEST(DiskSetNames, TheStatusMapEndsInDsAfterTheExtensionsFirstLetter) {
    EXPECT_EQ(statusMapNameOf("GAME.dsk"), "GAME.dds");
    EXPECT_EQ(statusMapNameOf("GAME.DSK"), "GAME.Dds");
    EXPECT_EQ(statusMapNameOf("d.dsk/x.dSK"), "d.dsk/x.dds");
}

using DiskSetLoader = DiskTest;

TEST_F(DiskSetLoader, WithoutSetFilesBothDrivesAreUnused) {
    mountSets(nullptr, nullptr);
    EXPECT_EQ(logText(), "A drive not use.\nB drive not use.\n");
    for (uint8_t drive : {0, 1}) {
        EXPECT_FALSE(driveReady(drive));
        EXPECT_EQ(drives[drive].diskNumber, 0u);
    }
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
    EXPECT_EQ(drives[0].diskNumber, 1u);
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

TEST_F(DiskSetLoader, LinesKeep254CharactersAndALongLineIsStillOneDisk) {
    const std::string name254 = std::string(250, 'a') + ".dsk";
    const std::string name255 = std::string(251, 'b') + ".dsk";  // a real file, cut to ".ds"
    writePatternImage(name254, 2);
    writePatternImage(name255, 2);
    writePatternImage("three.dsk", 2);
    mountSets(
        (name254 + "\n" + name255 + "\nthree.dsk\n" + std::string(400, 'x') + ".dsk\n").c_str());
    EXPECT_TRUE(driveReady(0)) << "a name of 254 characters loads";

    loadDiskFromSet(0, 2);
    EXPECT_NE(logText().find("A #2 bad file name.\n"), std::string::npos);
    loadDiskFromSet(0, 3);
    EXPECT_TRUE(driveReady(0)) << "line 3 is still disk 3 after a long line";
    loadDiskFromSet(0, 4);
    EXPECT_NE(logText().find("A #4 bad file name.\n"), std::string::npos);
    loadDiskFromSet(0, 5);
    EXPECT_NE(logText().find("#5 disk not exist.\n"), std::string::npos)
        << "the rest of a long line is no line of its own";
}

TEST_F(DiskSetLoader, AShortMapReplacesOnlyTheStatusesItHolds) {
    writePatternImage("full.dsk", 8);
    writePatternImage("short.dsk", 8);
    Bytes map(kStatusMapSize, kStatusDone);
    map[1] = kErrorSeek;
    writeFile("full.dds", map);
    writeFile("short.dds", {kErrorData});
    mountSets("full.dsk\nshort.dsk\nfull.dsk\n");
    loadDiskFromSet(0, 2);

    Bytes sector(512);
    EXPECT_EQ(readSector(0, 0, sector.data()), kErrorData);
    EXPECT_EQ(readSector(0, 1, sector.data()), kErrorSeek) << "kept from the previous map";
    EXPECT_EQ(readSector(0, 2, sector.data()), kStatusDone);
}

TEST_F(DiskSetLoader, WithoutAMapEverySectorIsNormal) {
    writePatternImage("plain.dsk", 4);
    mountSets("plain.dsk\n");
    const Bytes data(512, 0x5A);
    EXPECT_EQ(writeSector(0, 3, data.data()), kStatusDone);
    EXPECT_EQ(readImageSector("plain.dsk", 3), data);
    Bytes sector(512);
    EXPECT_EQ(readSector(0, 4, sector.data()), kErrorData) << "past the end of the file";
    EXPECT_EQ(readSector(2, 0, sector.data()), kErrorWriteProtected) << "no third drive";
    EXPECT_EQ(writeSector(2, 0, data.data()), kErrorWriteProtected);
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
    EXPECT_EQ(drives[0].diskNumber, 1u);
    Bytes sector(512);
    EXPECT_EQ(readSector(0, 1, sector.data()), kStatusDone);
    EXPECT_EQ(sector, patternSector(1));

    useChosenDiskFile(1, path.c_str());
    EXPECT_EQ(readTextFile("singleb.dfd"), expected);
    EXPECT_TRUE(driveReady(1));
}

TEST_F(SingleImageSet, AChosenSetFileReplacesTheDrivesSet) {
    writePatternImage("old.dsk", 2);
    writePatternImage("first.dsk", 2);
    writePatternImage("second.dsk", 2);
    writeTextFile("mine.dfd", "first.dsk\nsecond.dsk\n");
    mountSets(nullptr, "old.dsk\n");

    useChosenDiskFile(1, "mine.dfd");
    EXPECT_FALSE(std::filesystem::exists("singleb.dfd"));
    EXPECT_TRUE(driveReady(1));
    loadDiskFromSet(1, 2);
    EXPECT_TRUE(driveReady(1)) << "line 2 exists only in the chosen set";
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
