// Putting disk n of a drive's set into the drive.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavir {

// Set lines keep at most this many characters; the rest of a longer line is skipped.
constexpr size_t kSetLineLimit = 254;

// Takes the current image (and its map) out of `drive` (0 = A, 1 = B) and mounts the image
// named on line `n` (1-based) of the drive's set. Every failure is logged and leaves the
// drive empty (not ready) but able to load again. Other drive numbers are ignored.
void loadDiskFromSet(int drive, uint8_t n);

}  // namespace tavir
