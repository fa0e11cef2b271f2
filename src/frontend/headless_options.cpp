#include "frontend/headless_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tavir {

namespace {

bool allDigits(const std::string& text, bool hex) {
    if (text.empty()) return false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (!(hex ? std::isxdigit(u) : std::isdigit(u))) return false;
    }
    return true;
}

// A whole-string unsigned number in [minimum, maximum]; no sign, no spaces, no suffix.
bool parseNumber(std::string text, int base, uint64_t minimum, uint64_t maximum, uint64_t& value) {
    if (base == 16 && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0)) text.erase(0, 2);
    if (!allDigits(text, base == 16) || text.size() > 12) return false;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, base);
    if (errno != 0 || parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

std::vector<std::string> splitAtColons(const std::string& text) {
    std::vector<std::string> parts;
    size_t begin = 0;
    for (size_t colon; (colon = text.find(':', begin)) != std::string::npos; begin = colon + 1)
        parts.push_back(text.substr(begin, colon - begin));
    parts.push_back(text.substr(begin));
    return parts;
}

// FRAME:CODE[:FRAMES]
bool parseKeyHold(const std::string& text, KeyHold& hold, std::string& error) {
    const std::vector<std::string> parts = splitAtColons(text);
    if (parts.size() != 2 && parts.size() != 3) {
        error = "--key wants FRAME:CODE[:FRAMES], not '" + text + "'";
        return false;
    }
    uint64_t frame, code, frames = kDefaultKeyHoldFrames;
    if (!parseNumber(parts[0], 10, 1, UINT32_MAX, frame)) {
        error = "--key '" + text + "': FRAME must be a decimal frame number from 1";
        return false;
    }
    if (!parseNumber(parts[1], 16, 1, 0xFF, code)) {
        error = "--key '" + text + "': CODE must be a hexadecimal scan code from 01 to FF";
        return false;
    }
    if (parts.size() == 3 && !parseNumber(parts[2], 10, 1, UINT32_MAX, frames)) {
        error = "--key '" + text + "': FRAMES must be a decimal count from 1";
        return false;
    }
    if (frames - 1 > UINT32_MAX - frame) {
        error = "--key '" + text + "': the hold runs past the last frame number";
        return false;
    }
    hold = {static_cast<uint32_t>(frame), static_cast<uint8_t>(code),
            static_cast<uint32_t>(frames)};
    return true;
}

bool parseSlot(const std::string& option, const std::string& text, int& slot,
               std::string& error) {
    uint64_t value;
    if (!parseNumber(text, 10, 1, 40, value)) {
        error = option + " wants a snapshot slot from 1 to 40, not '" + text + "'";
        return false;
    }
    slot = static_cast<int>(value);
    return true;
}

}  // namespace

bool parseHeadlessOptions(int argc, const char* const* argv, HeadlessOptions& options,
                          std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool takesValue = option == "--dir" || option == "--frames" || option == "--key" ||
                                option == "--screenshot" || option == "--save-state" ||
                                option == "--load-state" || option == "--record" ||
                                option == "--audio" || option == "--midi";
        if (takesValue && i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--unpaced") {
            options.unpaced = true;
        } else if (option == "--dir") {
            options.directory = argv[++i];
            if (options.directory.empty()) {
                error = "--dir needs a directory name";
                return false;
            }
        } else if (option == "--frames") {
            const std::string value = argv[++i];
            uint64_t frames;
            if (!parseNumber(value, 10, 1, UINT32_MAX, frames)) {
                error = "--frames wants a decimal count from 1, not '" + value + "'";
                return false;
            }
            options.frames = static_cast<uint32_t>(frames);
        } else if (option == "--key") {
            KeyHold hold;
            if (!parseKeyHold(argv[++i], hold, error)) return false;
            options.keys.push_back(hold);
        } else if (option == "--screenshot") {
            options.screenshot = argv[++i];
            if (options.screenshot.empty()) {
                error = "--screenshot needs a file name";
                return false;
            }
        } else if (option == "--save-state") {
            if (!parseSlot(option, argv[++i], options.saveState, error)) return false;
        } else if (option == "--load-state") {
            if (!parseSlot(option, argv[++i], options.loadState, error)) return false;
        } else if (option == "--record") {
            if (!parseSlot(option, argv[++i], options.record, error)) return false;
        } else if (option == "--replay") {
            options.replay = true;
        } else if (option == "--midi") {
            options.midi = argv[++i];
            if (options.midi.empty()) {
                error = "--midi needs a file name";
                return false;
            }
        } else if (option == "--audio") {
            options.audio = argv[++i];
            if (options.audio.empty()) {
                error = "--audio needs a file name";
                return false;
            }
        } else {
            error = "unknown option '" + option + "' (see --help)";
            return false;
        }
    }
    if (options.replay && options.loadState == 0) {
        error = "--replay needs --load-state N: the slot whose recording to play";
        return false;
    }
    if (options.replay && options.record != 0) {
        error = "--replay and --record can't be used together";
        return false;
    }
    return true;
}

const char* headlessUsage() {
    return "usage: tavir-headless [--dir DIR] [--frames N] [--unpaced] [--key "
           "FRAME:CODE[:FRAMES]]...\n"
           "                      [--screenshot FILE] [--load-state N [--replay]] [--record N]\n"
           "                      [--save-state N] [--audio FILE] [--midi FILE]\n"
           "\n"
           "Runs the machine without a window, on the system ROMs and configuration files of\n"
           "the working directory, and writes TAVIRlog.txt there.\n"
           "  --dir DIR        working directory (default: the current one)\n"
           "  --frames N       run N frames, then shut down in order (default: until the quit\n"
           "                   command key ends the emulation)\n"
           "  --unpaced        run as fast as the host can instead of 60 frames per second, and\n"
           "                   print frames, wall seconds, frames per second and the multiple\n"
           "                   of real time (60 frames per second = 1x)\n"
           "  --key F:C[:N]    hold the key with DirectInput scan code C (hexadecimal) from\n"
           "                   frame F (the first frame is 1) for N frames (default 2); it\n"
           "                   acts through KeyMap and CommandKey like a real key. Repeatable.\n"
           "  --screenshot F   write the last picture to F as a 24-bit BMP (F is relative to\n"
           "                   the directory tavir-headless was started in)\n"
           "  --load-state N   before the first frame, load snapshot slot N (1-40) from\n"
           "                   TAVIRnn.sav of the working directory (TAVIR05.sav for 5)\n"
           "  --replay         with --load-state: load TAVIRnn.smv instead and play its input\n"
           "                   recording back in place of the keys, frame by frame\n"
           "  --record N       before the first frame (after any --load-state), save\n"
           "                   TAVIRnn.smv and record the run's input into it\n"
           "  --save-state N   after the last frame, save snapshot slot N to TAVIRnn.sav\n"
           "  --audio F        write what the machine played, from the first frame to the\n"
           "                   last, to F as a WAV file (44100 Hz, mono, 16-bit PCM; F is\n"
           "                   relative to the directory tavir-headless was started in). The\n"
           "                   sound follows emulated time, so the same run gives the same file\n"
           "  --midi F         write the FM music (the OPLL's MIDI messages, whatever\n"
           "                   DeviceNumber in opll.cfg plays them on) to F as a Standard\n"
           "                   MIDI File, format 0, timed by emulated time: 256 ticks a\n"
           "                   frame, one a scan line (F is relative like --screenshot's)\n"
           "  --help           this text\n"
           "\n"
           "Exit status: 0 after the run, 1 when start-up fails or a snapshot can't be loaded\n"
           "or saved (TAVIRlog.txt says why), 2 for a bad command line.\n";
}

}  // namespace tavir
