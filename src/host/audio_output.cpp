#include "host/audio_output.h"

namespace tavir {

namespace {

int users = 0;

bool nothingToOpen() {
    return true;
}

void nothingToClose() {}

// About two minutes after the host started, as a millisecond clock might read.
uint32_t fixedSeedClock() {
    return 123456;
}

}  // namespace

constinit AudioOutput audioOutput = {nothingToOpen, nothingToClose, fixedSeedClock};

// Start-up and shutdown run on the main thread only, so the count needs no lock.
bool acquireAudioOutput() {
    if (users == 0 && !audioOutput.open()) return false;
    ++users;
    return true;
}

void releaseAudioOutput() {
    if (users == 0) return;
    if (--users == 0) audioOutput.close();
}

}  // namespace tavir
