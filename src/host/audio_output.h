// The device that plays the looping sound buffers and the synthesizer: SDL audio on the
// desktop, emulated time in the headless host. Start-up picks one; the PSG (and the
// MIDI synthesizer) take it while they need it.
#pragma once

#include <cstdint>

namespace tavir {

struct AudioOutput {
    // Opens the device, which from then on plays the created buffers and the synthesizer
    // source. False when there is none; the library's own reason goes to stderr.
    bool (*open)();
    void (*close)();
    // The millisecond clock reading that seeds the PSG's noise table. The headless output
    // gives a fixed one, so that a batch run's sound is the same every time.
    uint32_t (*noiseSeedClock)();
};

// The output in use: the headless one until the desktop program installs its own.
extern AudioOutput audioOutput;

// The output is opened by its first user and closed when its last user lets it go, so
// the PSG and the synthesizer can each take it whether or not the other one does.
bool acquireAudioOutput();
void releaseAudioOutput();

}  // namespace tavir
