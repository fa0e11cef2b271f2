// The host keyboard as the machine sees it: a 256-byte state indexed by DirectInput scan
// code, bit 7 set while the key is down. It is refreshed from the host once per frame
// (and by the commands' wait loops) and only ever touched by the emulation thread.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kKeyStateSize = 256;
constexpr uint8_t kKeyDown = 0x80;

extern uint8_t keyState[kKeyStateSize];

inline bool keyDown(uint8_t scanCode) {
    return (keyState[scanCode] & kKeyDown) != 0;
}

// Reads the host keyboard into `keyState`.
void refreshKeyState();

}  // namespace tavir
