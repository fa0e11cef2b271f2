// What the disk dialog lists: the "*.dsk *.dfd" filter in any case, and folders read
// from a real temporary tree, including the ones that can't be read.
#include "host/desktop/disk_dialog_listing.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/machine_fixture.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(DiskDialogListing, SubfoldersAndFilteredFilesSorted) {
    testing::TemporaryWorkingDirectory directory;
    const fs::path& root = directory.path();
    fs::create_directory(root / "zeta");
    fs::create_directory(root / "alpha");
    fs::create_directory(root / "folder.dsk");  // a folder, whatever its name says
    for (const char* name : {"b.DSK", "a.dsk", "set.dfd", "notes.txt", "A.Dds"})
        testing::writeTextFile(root / name, "x");
    fs::create_symlink(root / "alpha", root / "link-to-alpha");
    fs::create_symlink(root / "missing.dsk", root / "broken.dsk");

    const FolderListing listing = listDiskFolder(root);
    EXPECT_TRUE(listing.readable);
    EXPECT_TRUE(listing.hasParent);
    EXPECT_EQ(listing.subfolders, (Names{"alpha", "folder.dsk", "link-to-alpha", "zeta"}));
    EXPECT_EQ(listing.files, (Names{"a.dsk", "b.DSK", "set.dfd"}));
}

TEST(DiskDialogListing, FoldersThatCannotBeListedComeBackEmpty) {
    testing::TemporaryWorkingDirectory directory;
    const FolderListing missing = listDiskFolder(directory.path() / "gone");
    EXPECT_FALSE(missing.readable);
    EXPECT_TRUE(missing.subfolders.empty());
    EXPECT_TRUE(missing.files.empty());

    testing::writeTextFile(directory.path() / "plain.dsk", "x");
    EXPECT_FALSE(listDiskFolder(directory.path() / "plain.dsk").readable);

    if (geteuid() != 0) {  // root reads any folder
        const fs::path locked = directory.path() / "locked";
        fs::create_directory(locked);
        testing::writeTextFile(locked / "inside.dsk", "x");
        fs::permissions(locked, fs::perms::none);
        const FolderListing listing = listDiskFolder(locked);
        fs::permissions(locked, fs::perms::owner_all);
        EXPECT_FALSE(listing.readable);
        EXPECT_TRUE(listing.files.empty());
    }
}

}  // namespace
}  // namespace tavir
