// The desktop's audio output: one SDL audio device at 44100 Hz whose callback plays the
// looping sound buffers and the synthesizer source.
#pragma once

#include <cstdint>

namespace tavir {

// Samples per callback: 512 at 44100 Hz is 11.6 ms, so the play cursor moves in steps
// well inside the 735 samples (16.7 ms) the PSG writes ahead of it.
constexpr uint16_t kAudioCallbackSamples = 512;

// Makes SDL audio the output that start-up opens.
void installDesktopAudio();

}  // namespace tavir
