// The desktop keyboard: the main thread keeps a 256-byte DirectInput-indexed state from
// SDL key events; the emulation thread copies it once per frame. Like a foreground
// keyboard device, it reads as all keys up while it is not acquired, and losing it
// releases every key.
#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>

namespace tavir {

// A key went down or up (main thread). Repeats of a held key change nothing.
void desktopKeyEvent(SDL_Scancode scancode, bool down);

// Every key up, and nothing read until acquired again: the window lost the focus, or a
// dialog takes the keyboard.
void unacquireDesktopKeyboard();

// The emulation reads the keyboard again; keys pressed from now on count.
void acquireDesktopKeyboard();

bool desktopKeyboardAcquired();

// Main thread: the keys gamepad buttons hold (bit 7 = down, by DirectInput code), added
// to the keyboard's own.
void setGamepadKeys(const uint8_t* state);

// The emulation thread's copy; all zeros while not acquired.
void readDesktopKeyboard(uint8_t* state);

}  // namespace tavir
