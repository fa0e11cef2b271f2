// The second sound source of the audio output, beside the PSG's looping buffers: the
// built-in MIDI synthesizer that plays the OPLL's translated music. The mixer (desktop
// audio callback, headless WAV capture) asks it for samples; the synthesizer registers
// itself here when it is opened and unregisters when it is closed.
#pragma once

#include <cstdint>

namespace tavir {

// Renders `count` signed 16-bit mono samples at 44100 Hz into `out`, overwriting it.
// Desktop: called on the audio thread. Headless: called by the emulation thread at the end
// of each frame for that frame's 735 samples, so a run's output is deterministic.
using SynthRender = void (*)(int16_t* out, int count);

// nullptr removes the source.
void setSynthRender(SynthRender render);

// The source in use, or nullptr.
SynthRender synthRender();

}  // namespace tavir
