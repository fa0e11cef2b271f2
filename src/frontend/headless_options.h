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
