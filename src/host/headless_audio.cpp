#include "host/headless_audio.h"

#include <algorithm>
#include <cstdio>

#include "host/sound_buffers.h"
#include "host/synth_source.h"

namespace tavir {

namespace {

constexpr uint32_t kHeaderSize = 44;
// The RIFF sizes are 32-bit: a capture stops growing before they would overflow
// (about 13 hours of sound).
constexpr uint32_t kMaximumDataBytes = 0xFFFFFFFFu - kHeaderSize;

struct Capture {
    std::FILE* file = nullptr;
    uint32_t dataBytes = 0;
    bool failed = false;
};

Capture capture;

void put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

bool writeHeader(std::FILE* file, uint32_t dataBytes) {
    uint8_t header[kHeaderSize] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                   'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0};
    put32(header + 4, 36 + dataBytes);
    put32(header + 24, kSoundSampleRate);
    put32(header + 28, kSoundSampleRate * 2);  // bytes per second
    put16(header + 32, 2);                     // bytes per sample frame
    put16(header + 34, 16);                    // bits per sample
    std::copy_n("data", 4, header + 36);
    put32(header + 40, dataBytes);
    return std::fwrite(header, 1, sizeof header, file) == sizeof header;
}

}  // namespace

bool startAudioCapture(const char* path) {
    finishAudioCapture();
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    capture = Capture{file, 0, !writeHeader(file, 0)};
    return true;
}

bool finishAudioCapture() {
    if (capture.file == nullptr) return true;
    bool ok = !capture.failed && std::fseek(capture.file, 0, SEEK_SET) == 0 &&
              writeHeader(capture.file, capture.dataBytes);
    ok = std::fclose(capture.file) == 0 && ok;
    capture = Capture{};
    return ok;
}

void playHeadlessAudioFrame() {
    SynthRender render = synthRender();
    if (capture.file == nullptr && render == nullptr) {
        // Nobody listens: the cursors move on, as they would while playing.
        skipSoundBuffers(kSamplesPerFrame);
        return;
    }
    int16_t frame[kSamplesPerFrame];
    playSoundBuffers(frame, kSamplesPerFrame);
    if (render != nullptr) {
        int16_t synth[kSamplesPerFrame];
        render(synth, kSamplesPerFrame);
        for (uint32_t i = 0; i < kSamplesPerFrame; ++i)
            frame[i] = static_cast<int16_t>(std::clamp(frame[i] + synth[i], -32768, 32767));
    }
    if (capture.file == nullptr || capture.dataBytes > kMaximumDataBytes - sizeof frame) return;
    uint8_t bytes[sizeof frame];
    for (uint32_t i = 0; i < kSamplesPerFrame; ++i)
        put16(bytes + 2 * i, static_cast<uint16_t>(frame[i]));
    if (std::fwrite(bytes, 1, sizeof bytes, capture.file) != sizeof bytes) capture.failed = true;
    capture.dataBytes += sizeof bytes;
}

}  // namespace tavir
