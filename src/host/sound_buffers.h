// The host's looping sound buffers: four of them, each a second of 8-bit unsigned mono
// samples at 44100 Hz (0x80 is silence), with a play cursor that the audio output
// advances as it plays them. The PSG writes ahead of the cursor from the emulation
// thread while the desktop's audio thread reads behind it, so every shared field is
// atomic; a sample is a relaxed atomic byte, which costs a plain store.
#pragma once

#include <atomic>
#include <cstdint>

namespace tavir {

constexpr uint32_t kSoundBufferSamples = 44100;
constexpr uint32_t kSoundSampleRate = 44100;
constexpr int kSoundBufferCount = 4;
constexpr uint8_t kSilentSample = 0x80;

struct SoundBuffer {
    std::atomic<uint8_t> samples[kSoundBufferSamples];
    std::atomic<uint32_t> playCursor;  // next sample to be played, 0..44099
    std::atomic<bool> created;
    std::atomic<bool> playing;
    std::atomic<int32_t> gain;  // 1.0 = 65536
};

extern SoundBuffer soundBuffers[kSoundBufferCount];

// A locked stretch: the second piece is empty unless the stretch wraps at the end.
struct SoundLock {
    std::atomic<uint8_t>* first;
    uint32_t firstSize;
    std::atomic<uint8_t>* second;
    uint32_t secondSize;
};

// The buffers exist from here on, playing nothing, cursor at 0, at full volume.
void createSoundBuffers();
void releaseSoundBuffers();

// `size` samples from `offset`; both are taken modulo the buffer size (a size of the whole
// buffer or more locks the whole buffer once).
SoundLock lockSoundBuffer(int index, uint32_t offset, uint32_t size);
uint32_t soundPlayCursor(int index);
void playSoundBuffer(int index);
void stopSoundBuffer(int index);
// Attenuation in hundredths of a decibel: the buffer is mixed at 10^(-attenuation/2000).
void setSoundBufferAttenuation(int index, uint32_t attenuation);

// The audio output's side: `count` samples of every playing buffer, from its play
// cursor on, mixed into `out` as signed 16-bit samples; the play cursors move past them.
void playSoundBuffers(int16_t* out, uint32_t count);
// The same with nobody listening: only the play cursors move.
void skipSoundBuffers(uint32_t count);

}  // namespace tavir
