// Short messages shown over the picture for a few seconds: a disk put in or refused, a
// snapshot saved or loaded, a screenshot written, the machine paused, an error. Either
// thread may post one; the window shows the newest. Without a window they go nowhere.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kScreenMessageLength = 160;

// Posts a formatted message (cut at kScreenMessageLength - 1 characters).
void showScreenMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The newest message and its number (0: none posted yet). Each post has a new number, so the
// window knows when to start a message's time on screen.
uint32_t latestScreenMessage(char (&text)[kScreenMessageLength]);

}  // namespace tavir
