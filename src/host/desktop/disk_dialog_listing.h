// What the disk dialog shows of a folder: its subfolders, and the files its filter lets
// through ("*.dsk *.dfd", in any case). Plain file-system work, kept apart from the
// dialog's drawing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavir {

// "Open Disk Image A:" for drive 0; drive B shows a lower-case "b" in place of the "A".
std::string diskDialogTitle(int drive);

// Whether a file name ends in ".dsk" or ".dfd", each letter in either case.
bool passesDiskFilter(std::string_view name);

struct FolderListing {
    bool readable;                        // false: the folder could not be listed
    bool hasParent;                       // ".." leads somewhere
    std::vector<std::string> subfolders;  // names, sorted
    std::vector<std::string> files;       // names that pass the filter, sorted
};

// Never throws: entries that can't be examined are left out.
FolderListing listDiskFolder(const std::filesystem::path& folder);

}  // namespace tavir
