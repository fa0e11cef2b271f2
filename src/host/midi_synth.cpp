#include "host/midi_synth.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/midi_output.h"
#include "host/synth_source.h"

namespace tavir {

namespace {

constexpr double kSampleRate = 44100;

// Twice FluidSynth's default: a piano note at full velocity then peaks near one PSG tone
// channel at its default attenuation, and nine channels plus drums still rarely clip.
constexpr double kGain = 0.4;

// Richest first. FluidR3 (fluid-soundfont-gm) is the one we install: its pianos,
// strings and brass are sampled with care, which is what the OPLL's melodic voices
// map onto; TimGM6mb is 25 times smaller but audibly thinner. The 148 MB are read once
// at start-up (a fraction of a second from the page cache).
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

// Bytes in flight between the emulation thread and the renderer: a busy frame of FM
// music sends well under a kilobyte.
constexpr uint32_t kQueueSize = 1 << 14;

struct Synthesizer {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    std::string soundFont;
    // One producer (the emulation thread), one consumer (the renderer). Each entry is
    // a length byte followed by the message; the counters only grow.
    uint8_t queue[kQueueSize];
    std::atomic<uint32_t> written{0};
    std::atomic<uint32_t> read{0};
    std::atomic<int> rendersActive{0};
    std::atomic<bool> open{false};
};

Synthesizer synthesizer;

bool isFile(const char* path) {
    struct stat info;
    return path != nullptr && *path != '\0' && stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

void applyChannelMessage(Synthesizer& s, uint8_t status, uint8_t data1, uint8_t data2) {
    fluid_synth_t* synth = s.synth;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
        // FluidSynth hands a voice over to the note after a portamento control message
        // itself, as a GS device does: the old note ends without a note off.
        case 0x90: fluid_synth_noteon(synth, channel, data1, data2); break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, (data1 & 0x7F) | (data2 & 0x7F) << 7);
            break;
        default: break;
    }
}

// A SysEx goes to the synthesizer without its F0 and F7; anything else is taken as
// channel messages one after another, up to the first byte that doesn't fit.
void applyMessage(Synthesizer& s, const uint8_t* bytes, int length) {
    if (bytes[0] == 0xF0) {
        int body = length - 1;
        if (body > 0 && bytes[length - 1] == 0xF7) --body;
        fluid_synth_sysex(s.synth, reinterpret_cast<const char*>(bytes + 1), body, nullptr, nullptr,
                          nullptr, 0);
        return;
    }
    for (int i = 0; i < length;) {
        const uint8_t status = bytes[i];
        if (status < 0x80 || status >= 0xF0) return;
        const int size = midiShortLength(status);
        if (i + size > length) return;
        applyChannelMessage(s, status, bytes[i + 1], size == 3 ? bytes[i + 2] : 0);
        i += size;
    }
}

void drainQueue(Synthesizer& s) {
    uint32_t read = s.read.load(std::memory_order_relaxed);
    const uint32_t written = s.written.load(std::memory_order_acquire);
    uint8_t message[256];
    while (read != written) {
        const int length = s.queue[read % kQueueSize];
        for (int i = 0; i < length; ++i) message[i] = s.queue[(read + 1 + i) % kQueueSize];
        applyMessage(s, message, length);
        read += 1 + length;
    }
    s.read.store(read, std::memory_order_release);
}

void renderSynthesizer(int16_t* out, int count) {
    Synthesizer& s = synthesizer;
    // The counter tells closeSynthesizer to wait; a close already under way is seen here.
    s.rendersActive.fetch_add(1);
    if (!s.open.load()) {
        std::fill_n(out, count, int16_t{0});
        s.rendersActive.fetch_sub(1);
        return;
    }
    drainQueue(s);
    float left[256], right[256];
    while (count > 0) {
        const int n = std::min(count, 256);
        fluid_synth_write_float(s.synth, n, left, 0, 1, right, 0, 1);
        for (int i = 0; i < n; ++i) {
            const float mono = (left[i] + right[i]) * 0.5f * 32767.0f;
            out[i] = static_cast<int16_t>(std::clamp(mono, -32768.0f, 32767.0f));
        }
        out += n;
        count -= n;
    }
    s.rendersActive.fetch_sub(1);
}

void freeSynthesizer(Synthesizer& s) {
    if (s.synth != nullptr) delete_fluid_synth(s.synth);
    if (s.settings != nullptr) delete_fluid_settings(s.settings);
    s.synth = nullptr;
    s.settings = nullptr;
}

}  // namespace

const char* synthesizerSoundFont() {
    const char* chosen = std::getenv("TAVIR_SOUNDFONT");
    if (isFile(chosen)) return chosen;
    for (const char* path : kSoundFonts)
        if (isFile(path)) return path;
    return "";
}

bool openSynthesizer() {
    Synthesizer& s = synthesizer;
    closeSynthesizer();
    // FluidSynth's notes and warnings would only clutter the terminal; errors still show.
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

    s.soundFont = synthesizerSoundFont();
    if (s.soundFont.empty()) {
        std::fprintf(stderr,
                     "tavir: no General MIDI soundfont found (install fluid-soundfont-gm "
                     "or set TAVIR_SOUNDFONT)\n");
        return false;
    }
    s.settings = new_fluid_settings();
    if (s.settings != nullptr) {
        fluid_settings_setnum(s.settings, "synth.sample-rate", kSampleRate);
        fluid_settings_setnum(s.settings, "synth.gain", kGain);
        s.synth = new_fluid_synth(s.settings);
    }
    if (s.synth == nullptr) {
        std::fprintf(stderr, "tavir: FluidSynth could not be started\n");
        freeSynthesizer(s);
        return false;
    }
    if (fluid_synth_sfload(s.synth, s.soundFont.c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "tavir: FluidSynth could not load the soundfont %s\n",
                     s.soundFont.c_str());
        freeSynthesizer(s);
        return false;
    }
    s.written.store(0);
    s.read.store(0);
    s.open.store(true);
    setSynthRender(renderSynthesizer);
    return true;
}

void closeSynthesizer() {
    Synthesizer& s = synthesizer;
    if (s.synth == nullptr) return;
    setSynthRender(nullptr);
    s.open.store(false);
    while (s.rendersActive.load() != 0) {
    }
    freeSynthesizer(s);
}

bool queueSynthesizerMessage(const uint8_t* bytes, int length) {
    Synthesizer& s = synthesizer;
    if (length <= 0 || length > 255) return false;
    const uint32_t written = s.written.load(std::memory_order_relaxed);
    const uint32_t read = s.read.load(std::memory_order_acquire);
    if (kQueueSize - (written - read) < static_cast<uint32_t>(length) + 1) return false;
    s.queue[written % kQueueSize] = static_cast<uint8_t>(length);
    for (int i = 0; i < length; ++i) s.queue[(written + 1 + i) % kQueueSize] = bytes[i];
    s.written.store(written + 1 + static_cast<uint32_t>(length), std::memory_order_release);
    return true;
}

}  // namespace tavir
