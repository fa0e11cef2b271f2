// Opening the files a user names (system ROMs, cartridges, disk sets and images,
// configuration) only when they are regular files. A named pipe or a device would block
// start-up inside the open, or feed the machine a stream of unknown length.
#pragma once

#include <cstdio>

namespace tavir {

// Like std::fopen with the modes "r", "rb", "r+b" or "rb+", but without blocking, and
// null (errno EINVAL for the wrong kind of file) for anything but a regular file.
std::FILE* openRegularFile(const char* name, const char* mode);

}  // namespace tavir
