// What the disk dialog does with the file the user chose: an image becomes a one-image set
// of its own, a set file replaces the drive's set. Disk 1 of the new set is then mounted.
#pragma once

namespace tavir {

// The one-image sets the dialog writes, one per drive.
inline constexpr const char* kSingleImageSetFileNames[2] = {"singlea.dfd", "singleb.dfd"};

// Writes the one-image set of `drive` (0 or 1): the path and its terminating zero byte, no
// line end. False if the file can't be written completely.
bool writeSingleImageSet(int drive, const char* imagePath);

// Called with the path chosen in the "A:"/"B:" dialog. A path containing ".dsk" is written
// as the drive's one-image set; anything else is taken as a set file. The new set is
// opened and its disk 1 loaded; failures are logged by the loader.
void useChosenDiskFile(int drive, const char* path);

}  // namespace tavir
