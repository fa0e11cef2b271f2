// Start-up and shutdown of the video: the VRAM block and the picture it is shown in.
#pragma once

namespace tavir {

// Allocates the 128 KB of VRAM (once; a second call keeps the block), points the CPU's
// VRAM window at its start, takes the picture size from msx.cfg "DisplayMode" with
// drawing on, and sets up the frame buffer. Returns 0 after logging
// "VRAM Allocate Failed.\n" when the memory can't be had, else 1.
int initVDP();

// Frees VRAM. Safe to call when `initVDP` never ran or failed, and more than once.
void shutdownVDP();

}  // namespace tavir
