// The command line of tavir-headless, the batch runner without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavir {

struct KeyHold {
    uint32_t firstFrame;  // 1-based
    uint8_t scanCode;     // DirectInput scan code
    uint32_t frames;
};

struct HeadlessOptions {
    std::string directory;  // working directory; empty = the current one
    uint32_t frames = 0;    // frames to run; 0 = until the quit key ends the emulation
    bool unpaced = false;
    std::vector<KeyHold> keys;
    std::string screenshot;  // BMP of the last picture; empty = none
    int loadState = 0;       // snapshot slot loaded before the first frame; 0 = none
    bool replay = false;     // loadState names the slot's recording, played back
    int record = 0;          // slot whose recording starts before the first frame; 0 = none
    int saveState = 0;       // snapshot slot saved after the last frame; 0 = none
    std::string audio;       // WAV of everything played; empty = none
    std::string midi;        // Standard MIDI File of the FM music; empty = none
    bool help = false;
};

constexpr uint32_t kDefaultKeyHoldFrames = 2;

// Parses argv[1..argc-1]. False, with a one-line reason in `error`, for an unknown
// option, a missing or malformed value, or an option this build can't carry out.
bool parseHeadlessOptions(int argc, const char* const* argv, HeadlessOptions& options,
                          std::string& error);

const char* headlessUsage();

}  // namespace tavir
