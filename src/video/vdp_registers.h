// The VDP's control registers with their side effects, and the palette.
#pragma once

#include <cstdint>

namespace tavir {

// Stores R#n (n 0-63) after its side effect: the screen mode, the backdrop colour, the
// CPU's VRAM window, the palette latch, the command engine.
void writeVDPRegister(uint8_t n, uint8_t value);

// Palette entry i (0-15) from three levels of 0-7, converted to host pixels once here.
void setPaletteEntry(uint8_t i, uint8_t red, uint8_t blue, uint8_t green);

// `screenMode` for the mode bits M1-M5 of R#0 and R#1; `current` for combinations the
// V9958 has no mode for.
uint8_t screenModeFor(uint8_t r0, uint8_t r1, uint8_t current);

}  // namespace tavir
