#include "host/desktop/disk_dialog_listing.h"

#include <algorithm>

namespace tavir {

namespace {

bool endsWithIgnoringCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size()) return false;
    const std::string_view tail = name.substr(name.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        const char lower = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
        return lower == b;
    });
}

}  // namespace

std::string diskDialogTitle(int drive) {
    return drive == 0 ? "Open Disk Image A:" : "Open Disk Image b:";
}

bool passesDiskFilter(std::string_view name) {
    return endsWithIgnoringCase(name, ".dsk") || endsWithIgnoringCase(name, ".dfd");
}

FolderListing listDiskFolder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    FolderListing listing{false, false, {}, {}};
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    if (error) return listing;
    listing.hasParent = absolute.has_relative_path();

    fs::directory_iterator it(absolute, fs::directory_options::skip_permission_denied, error);
    if (error) return listing;
    listing.readable = true;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        // Follows links: a link to a folder is entered, a broken one is left out.
        std::error_code statusError;
        const fs::file_status status = fs::status(it->path(), statusError);
        if (statusError) continue;
        if (fs::is_directory(status))
            listing.subfolders.push_back(name);
        else if (fs::is_regular_file(status) && passesDiskFilter(name))
            listing.files.push_back(name);
    }
    std::sort(listing.subfolders.begin(), listing.subfolders.end());
    std::sort(listing.files.begin(), listing.files.end());
    return listing;
}

}  // namespace tavir
