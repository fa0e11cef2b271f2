// The finished picture on its way from the emulation thread to the main thread. Three
// buffers take turns: the emulation thread fills one, a second holds the newest finished
// picture, the main thread uploads from the third. Neither side ever waits for the other
// beyond swapping two indexes, and a picture the main thread had no time for is simply
// replaced by the next.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kMailboxMaxWidth = 640, kMailboxMaxHeight = 480;

struct Picture {
    int32_t width, height;  // pixels; rows are packed (width x 2 bytes)
    uint16_t pixels[kMailboxMaxWidth * kMailboxMaxHeight];
};

// Emulation thread: copies `height` rows of `width` RGB565 pixels, `pitch` bytes apart,
// and makes them the newest picture. A geometry larger than the mailbox is clipped. A
// picture equal to the one posted last is not posted again (false): a still screen costs
// the window nothing.
bool postPicture(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height);

// Main thread: the newest picture if one came since the last call, else nullptr. The
// picture stays valid and unchanged until a later call returns another one.
const Picture* takeNewestPicture();

}  // namespace tavir
