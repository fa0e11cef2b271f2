#include "host/desktop/desktop_audio.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>

#include "host/audio_output.h"
#include "host/sound_buffers.h"
#include "host/steady_clock.h"
#include "host/synth_source.h"

namespace tavir {

namespace {

SDL_AudioDeviceID device = 0;

// The audio thread. Everything it shares with the emulation thread is atomic.
void playCallback(void* /*user*/, Uint8* stream, int length) {
    auto* out = reinterpret_cast<int16_t*>(stream);
    uint32_t count = static_cast<uint32_t>(length) / sizeof(int16_t);
    while (count > 0) {
        const uint32_t chunk = std::min<uint32_t>(count, kAudioCallbackSamples);
        playSoundBuffers(out, chunk);
        if (SynthRender render = synthRender()) {
            int16_t synth[kAudioCallbackSamples];
            render(synth, static_cast<int>(chunk));
            for (uint32_t i = 0; i < chunk; ++i)
                out[i] = static_cast<int16_t>(std::clamp(out[i] + synth[i], -32768, 32767));
        }
        out += chunk;
        count -= chunk;
    }
}

bool openDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tavir: no audio: %s\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(kSoundSampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = kAudioCallbackSamples;
    wanted.callback = playCallback;
    // No changes allowed: SDL converts to whatever the device wants behind the callback.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "tavir: no audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void closeDevice() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

void installDesktopAudio() {
    audioOutput = AudioOutput{openDevice, closeDevice, steadyMilliseconds};
}

}  // namespace tavir
