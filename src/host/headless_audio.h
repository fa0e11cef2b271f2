// The headless host's audio output: the buffers play as emulated time passes, one frame's
// 735 samples at each frame end, and what they played (with the synthesizer's share) can
// be captured to a WAV file: 44100 Hz, mono, 16-bit PCM.
#pragma once

#include <cstdint>

namespace tavir {

constexpr uint32_t kSamplesPerFrame = 735;  // 44100 / 60

// Every frame end from now on is appended to the WAV file at `path` (created or
// truncated). False when the file can't be created.
bool startAudioCapture(const char* path);
// Completes the file's header and closes it. False when any write failed. Nothing to do,
// and true, without a capture.
bool finishAudioCapture();

// The frame end: plays one frame of every buffer and of the synthesizer.
void playHeadlessAudioFrame();

}  // namespace tavir
