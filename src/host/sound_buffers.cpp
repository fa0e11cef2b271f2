#include "host/sound_buffers.h"

#include <algorithm>
#include <cmath>

namespace tavir {

SoundBuffer soundBuffers[kSoundBufferCount];

namespace {

constexpr int32_t kUnityGain = 65536;

}  // namespace

void createSoundBuffers() {
    for (SoundBuffer& buffer : soundBuffers) {
        buffer.playing.store(false);
        buffer.playCursor.store(0);
        buffer.gain.store(kUnityGain);
        buffer.created.store(true);
    }
}

void releaseSoundBuffers() {
    for (SoundBuffer& buffer : soundBuffers) {
        buffer.playing.store(false);
        buffer.created.store(false);
    }
}

SoundLock lockSoundBuffer(int index, uint32_t offset, uint32_t size) {
    std::atomic<uint8_t>* samples = soundBuffers[index].samples;
    offset %= kSoundBufferSamples;
    size = std::min(size, kSoundBufferSamples);
    const uint32_t untilEnd = kSoundBufferSamples - offset;
    if (size <= untilEnd) return {samples + offset, size, samples, 0};
    return {samples + offset, untilEnd, samples, size - untilEnd};
}

uint32_t soundPlayCursor(int index) {
    return soundBuffers[index].playCursor.load(std::memory_order_acquire);
}

void playSoundBuffer(int index) {
    soundBuffers[index].playing.store(true, std::memory_order_release);
}

void stopSoundBuffer(int index) {
    soundBuffers[index].playing.store(false, std::memory_order_release);
}

void setSoundBufferAttenuation(int index, uint32_t attenuation) {
    // Anything past about 96 dB rounds to a gain of 0 here, as quiet as a buffer gets.
    const double gain = std::pow(10.0, -static_cast<double>(attenuation) / 2000.0);
    soundBuffers[index].gain.store(static_cast<int32_t>(std::lround(gain * kUnityGain)));
}

void playSoundBuffers(int16_t* out, uint32_t count) {
    int32_t mix[1024];
    while (count > 0) {
        const uint32_t chunk = std::min<uint32_t>(count, std::size(mix));
        std::fill_n(mix, chunk, 0);
        for (SoundBuffer& buffer : soundBuffers) {
            if (!buffer.created.load(std::memory_order_acquire) ||
                !buffer.playing.load(std::memory_order_acquire))
                continue;
            const int32_t gain = buffer.gain.load(std::memory_order_relaxed);
            uint32_t cursor = buffer.playCursor.load(std::memory_order_relaxed);
            for (uint32_t done = 0; done < chunk;) {
                const uint32_t n = std::min(chunk - done, kSoundBufferSamples - cursor);
                const std::atomic<uint8_t>* samples = buffer.samples + cursor;
                for (uint32_t i = 0; i < n; ++i)
                    mix[done + i] += (samples[i].load(std::memory_order_relaxed) - kSilentSample) * gain;
                done += n;
                cursor = (cursor + n) % kSoundBufferSamples;
            }
            buffer.playCursor.store(cursor, std::memory_order_release);
        }
        // The gain is 16.16 fixed point and an 8-bit step is 256 16-bit steps: four
        // buffers at full scale still fit the sum.
        for (uint32_t i = 0; i < chunk; ++i)
            out[i] = static_cast<int16_t>(std::clamp(mix[i] >> 8, -32768, 32767));
        out += chunk;
        count -= chunk;
    }
}

void skipSoundBuffers(uint32_t count) {
    for (SoundBuffer& buffer : soundBuffers) {
        if (!buffer.created.load(std::memory_order_acquire) ||
            !buffer.playing.load(std::memory_order_acquire))
            continue;
        const uint32_t cursor = buffer.playCursor.load(std::memory_order_relaxed);
        buffer.playCursor.store((cursor + count) % kSoundBufferSamples, std::memory_order_release);
    }
}

}  // namespace tavir
