// How names are taken from disk-set lines: an image name runs from the start of the line up
// to and including the first ".dsk" (any case per letter) that ends the name of a file
// rather than of a folder on its path; its status map sits beside it.
#pragma once

#include <cstddef>

namespace tavir {

// Length of the image name at the start of `line` (a C string), or 0 when the line holds
// no ".dsk". Anything after the extension is a comment.
size_t imageNameLength(const char* line);

// Writes into `mapName` (room for `length` + 1 characters) the name of the status map of
// the image name `imageName` of `length` characters, `length` >= 2: the extension's last
// two letters become "ds", its first letter stays as written (GAME.DSK gives GAME.Dds).
void makeStatusMapName(const char* imageName, size_t length, char* mapName);

}  // namespace tavir
