// The built-in General MIDI synthesizer behind MIDI device 0: FluidSynth playing a General
// MIDI soundfont from a Debian package, rendered into the audio output beside the PSG.
// Messages cross from the emulation thread to the renderer through a lock-free queue, so
// sending never waits for the audio thread.
#pragma once

#include <cstdint>

namespace tavir {

// The soundfont used: $TAVIR_SOUNDFONT when it names a file, else the first of the
// Debian General MIDI soundfonts that is installed. Empty when there is none.
const char* synthesizerSoundFont();

// Loads the soundfont and registers the renderer as the audio output's synthesizer source.
// False, with the reason on standard error, when FluidSynth or the soundfont fails.
bool openSynthesizer();

// Unregisters the renderer, waits for a render in progress to end, and frees everything.
void closeSynthesizer();

// Queues one message (a channel message, several of them, or a SysEx) for the next
// render. False when the queue is full: the renderer has not caught up.
bool queueSynthesizerMessage(const uint8_t* bytes, int length);

}  // namespace tavir
