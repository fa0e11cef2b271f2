// The PSG's sound device: the four looping buffers on the host's audio output, their
// start-up, and their handling around the emulator's commands.
#include <algorithm>
#include <cstdint>

#include "core/log.h"
#include "core/settings.h"
#include "host/audio_output.h"
#include "host/sound_buffers.h"
#include "sound/psg.h"

namespace tavir {

namespace {

constexpr float kStartTonePeriod = 100.0f;

bool devicesOpen = false;

void fillWithSilence(int buffer) {
    const SoundLock lock = lockSoundBuffer(buffer, 0, kSoundBufferSamples);
    for (uint32_t i = 0; i < lock.firstSize; ++i)
        lock.first[i].store(kSilentSample, std::memory_order_relaxed);
}

uint8_t nextRandomByte() {
    psg.randomA = static_cast<uint8_t>((psg.randomA + 1) % 7);
    psg.randomB = static_cast<uint8_t>((psg.randomB + 1) % 4);
    psg.randomAccumulator += audioOutput.noiseSeedClock() >> psg.randomA;
    return static_cast<uint8_t>(psg.randomAccumulator >> psg.randomB);
}

}  // namespace

bool initPSG() {
    releasePSG();  // a start-up again in the same process takes the output afresh
    settings.UsePSG = 1;
    readSoundSettings(settings);
    logSoundSettings(settings);
    if (!settings.UsePSG) return true;

    if (!acquireAudioOutput()) {
        logPrint("DirectSoundCreate Failed.\n");
        settings.UsePSG = 0;
        return false;
    }
    devicesOpen = true;
    createSoundBuffers();
    for (int buffer = 0; buffer < kSoundBufferCount; ++buffer) {
        fillWithSilence(buffer);
        playSoundBuffer(buffer);
    }
    for (float& period : psg.tonePeriod) period = kStartTonePeriod;
    for (int buffer = 0; buffer < kPSGNoiseBuffer; ++buffer)
        setSoundBufferAttenuation(buffer, settings.PSGVolume);
    setSoundBufferAttenuation(kPSGNoiseBuffer, settings.NoisVolume);
    for (uint8_t& entry : psg.noiseTable) entry = nextRandomByte();
    return true;
}

void releasePSG() {
    if (!devicesOpen) return;
    releaseSoundBuffers();
    releaseAudioOutput();
    devicesOpen = false;
}

void stopPSG() {
    if (!settings.UsePSG || !devicesOpen) return;
    for (int buffer = 0; buffer < kSoundBufferCount; ++buffer) stopSoundBuffer(buffer);
}

void restartPSG() {
    if (!settings.UsePSG || !devicesOpen) return;
    for (int buffer = 0; buffer < kSoundBufferCount; ++buffer) {
        fillWithSilence(buffer);
        playSoundBuffer(buffer);
    }
}

void resyncPSG() {
    if (!settings.UsePSG || !devicesOpen) return;
    for (int buffer = 0; buffer < kSoundBufferCount; ++buffer) {
        const uint64_t ahead = uint64_t{soundPlayCursor(buffer)} + settings.WriteRoom +
                               std::min<uint32_t>(settings.WriteSize, kSoundBufferSamples);
        psg.writeCursor[buffer] = static_cast<uint32_t>(ahead % kSoundBufferSamples);
    }
    for (float& phase : psg.tonePhase) phase = 1.0f;
    psg.noiseRun = 1;
}

}  // namespace tavir
