#include "frontend/host_entry.h"
#include "host/desktop/desktop_audio.h"
#include "host/desktop/desktop_session.h"
#include "host/midi_output.h"

int main() {
    tavir::installDesktopAudio();
    // The audio output renders the built-in synthesizer as it plays.
    tavir::synthesizerUse = tavir::SynthesizerUse::kAudioThread;
    return tavir::hostEntry(&tavir::desktopSession());
}
