#include "host/desktop/desktop_keyboard.h"

#include <atomic>
#include <cstring>

#include "host/desktop/sdl_key_table.h"

namespace tavir {

namespace {

// Main thread only. Two physical keys may share a code (the backslash positions), so a
// code is down while any of its keys is.
bool scancodeDown[SDL_NUM_SCANCODES];
uint8_t keysHoldingCode[256];

// Shared: written by the main thread, copied by the emulation thread, byte by byte.
std::atomic<uint8_t> sharedState[256];
std::atomic<bool> acquired{false};
std::atomic<uint8_t> padState[256];

}  // namespace

void desktopKeyEvent(SDL_Scancode scancode, bool down) {
    const auto index = static_cast<unsigned>(scancode);
    if (index >= SDL_NUM_SCANCODES || scancodeDown[index] == down) return;
    const uint8_t code = directInputCode(scancode);
    if (code == 0) return;                 // code 0 must stay up: unused KeyMap entries point at it
    if (!acquired.load() && down) return;  // pressed while another owner had the keyboard
    scancodeDown[index] = down;
    keysHoldingCode[code] = static_cast<uint8_t>(keysHoldingCode[code] + (down ? 1 : -1));
    sharedState[code].store(keysHoldingCode[code] != 0 ? 0x80 : 0x00);
}

void unacquireDesktopKeyboard() {
    acquired.store(false);
    std::memset(scancodeDown, 0, sizeof scancodeDown);
    std::memset(keysHoldingCode, 0, sizeof keysHoldingCode);
    for (auto& key : sharedState) key.store(0);
}

void acquireDesktopKeyboard() {
    acquired.store(true);
}

bool desktopKeyboardAcquired() {
    return acquired.load();
}

void readDesktopKeyboard(uint8_t* state) {
    if (!acquired.load()) {
        std::memset(state, 0, 256);
        return;
    }
    for (int code = 0; code < 256; ++code)
        state[code] = static_cast<uint8_t>(sharedState[code].load() | padState[code].load());
}

void setGamepadKeys(const uint8_t* state) {
    // Code 0 stays up: unused KeyMap entries point at it.
    for (int code = 1; code < 256; ++code) padState[code].store(state[code]);
}

}  // namespace tavir
