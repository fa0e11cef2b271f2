#include "sound/psg_blocks.h"

#include <algorithm>
#include <cmath>

#include "core/settings.h"
#include "host/sound_buffers.h"
#include "sound/psg.h"

namespace tavir {

namespace {

constexpr uint32_t kFullAmplitude = 127;
constexpr uint8_t kVolumeAmplitude[16] = {0,  1,  2,  5,  9,  14,  20,  28,
                                          36, 46, 56, 68, 81, 95, 110, 127};
constexpr uint8_t kEnvelopeMode = 0x10;

// The fresh end of a frame's stretch, as one or two spans of its buffer, filled in runs
// of one value.
class FreshSamples {
public:
    FreshSamples(int buffer, const PSGStretch& stretch) {
        const SoundLock lock = lockSoundBuffer(buffer, stretch.start, stretch.size);
        // Skip what earlier frames wrote: it may be playing already.
        const uint32_t skip = stretch.size - stretch.fresh;
        if (skip < lock.firstSize) {
            spans_[0] = {lock.first + skip, lock.firstSize - skip};
            spans_[1] = {lock.second, lock.secondSize};
        } else {
            spans_[0] = {lock.second + (skip - lock.firstSize), stretch.fresh};
        }
        remaining_ = stretch.fresh;
    }
    uint32_t remaining() const { return remaining_; }
    // `count` (at most remaining()) samples of `value`.
    void fill(uint32_t count, uint8_t value) {
        remaining_ -= count;
        while (count > 0) {
            Span& span = spans_[current_];
            const uint32_t n = std::min(count, span.size);
            for (uint32_t i = 0; i < n; ++i) span.at[i].store(value, std::memory_order_relaxed);
            span.at += n;
            span.size -= n;
            count -= n;
            if (span.size == 0) current_ = 1;
        }
    }

private:
    struct Span {
        std::atomic<uint8_t>* at = nullptr;
        uint32_t size = 0;
    };
    Span spans_[2];
    int current_ = 0;
    uint32_t remaining_;
};

PSGStretch frameStretch(int buffer) {
    return psgStretch(soundPlayCursor(buffer), settings.WriteRoom, settings.WriteSize,
                      psg.writeCursor[buffer]);
}

// The level a channel asks for, before the mixer's tone or noise switch.
uint32_t channelAmplitude(int channel, bool toneChannel) {
    const uint8_t volume = psg.psgRegisters[8 + channel];
    if ((volume & 0x1F) == 0) return 0;
    if (volume & kEnvelopeMode) return envelopeAmplitude(toneChannel);
    return kVolumeAmplitude[volume & 0x0F];
}

}  // namespace

PSGStretch psgStretch(uint32_t playCursor, uint32_t room, uint32_t size, uint32_t& writeCursor) {
    constexpr uint32_t n = kSoundBufferSamples;
    size = std::min(size, n);
    const uint32_t start = (playCursor % n + room % n) % n;
    const uint32_t end = (start + size) % n;
    // Everything between the last frame's end and this one's is new. When the play
    // cursor has run past the old end (a late frame), the whole stretch is.
    const uint32_t fresh = std::min((end + n - writeCursor % n) % n, size);
    writeCursor = end;
    return {start, size, fresh};
}

uint32_t envelopeAmplitude(bool toneChannel) {
    const uint64_t length = std::max<uint32_t>(psg.envelopeLength, 1);
    uint64_t step = psg.envelopeStep;
    const uint8_t shape = psg.psgRegisters[13] & 0x0F;
    // The alternating repeats (shapes 10 and 14) run over two ramps and then again: the
    // step is taken modulo their cycle, so whatever ticks the other channels take (or a
    // rescale) the amplitude stays on the triangle.
    const bool triangle = shape == 10 || shape == 14;
    if (triangle) {
        step %= 2 * length;
        if (toneChannel) psg.envelopeStep = static_cast<uint32_t>(step);
    }
    if (step <= length) {
        const bool rising = (shape & 0x04) != 0;
        return static_cast<uint32_t>(kFullAmplitude * (rising ? step : length - step) / length);
    }
    switch (shape) {
        case 8:
        case 12:
            if (toneChannel) psg.envelopeStep = 0;  // the sawtooth starts its next ramp
            return shape == 8 ? 0 : kFullAmplitude;
        case 10: return static_cast<uint32_t>(kFullAmplitude * (step - length) / length);
        case 14: return static_cast<uint32_t>(kFullAmplitude * (2 * length - step) / length);
        case 11:
        case 13: return kFullAmplitude;
        default: return 0;
    }
}

void writeToneBlock(int channel, uint32_t amplitude) {
    amplitude = std::min(amplitude, kFullAmplitude);
    FreshSamples out(channel, frameStretch(channel));
    if (amplitude == 0) {
        out.fill(out.remaining(), kSilentSample);
        return;
    }
    const float period = psg.tonePeriod[channel];
    const float half = period / 2;
    const auto high = static_cast<uint8_t>(kSilentSample + amplitude);
    const auto low = static_cast<uint8_t>(kSilentSample - amplitude);
    float phase = psg.tonePhase[channel];
    // Sample by sample the wave is high while the phase is below half the period, and the
    // phase steps by one sample; written here a half-wave at a time.
    while (out.remaining() > 0) {
        const bool isHigh = phase < half;
        const float untilEdge = (isHigh ? half : period) - phase;
        // At least one sample, also for a phase already past the edge.
        const uint32_t n = !(untilEdge < static_cast<float>(out.remaining()))
                               ? out.remaining()
                               : static_cast<uint32_t>(std::max(1.0f, std::ceil(untilEdge)));
        out.fill(n, isHigh ? high : low);
        phase += static_cast<float>(n);
        if (!(phase < period)) {
            phase -= period;
            // A period shorter than a sample (or 0) has no phase to keep: a steady level.
            if (!(phase < period)) phase = 0;
        }
    }
    psg.tonePhase[channel] = phase;
}

void writeNoiseBlock(uint32_t amplitude) {
    amplitude = std::min(amplitude, kFullAmplitude);
    FreshSamples out(kPSGNoiseBuffer, frameStretch(kPSGNoiseBuffer));
    if (amplitude == 0) {
        out.fill(out.remaining(), kSilentSample);
        return;
    }
    const uint32_t divisor = (psg.psgRegisters[6] & 0x1F) + 2u;
    auto level = static_cast<uint8_t>(psg.noisePolarity == 1 ? kSilentSample + amplitude
                                                             : kSilentSample - amplitude);
    // A random square wave: each half-wave lasts 1 to `divisor` samples, drawn from the table.
    while (out.remaining() > 0) {
        const uint32_t run = static_cast<uint32_t>(std::max(psg.noiseRun, int32_t{1}));
        const uint32_t n = std::min(run, out.remaining());
        out.fill(n, level);
        psg.noiseRun = static_cast<int32_t>(run - n);
        if (psg.noiseRun == 0) {
            psg.noiseRun = psg.noiseTable[psg.noiseIndex++] % divisor + 1;
            psg.noisePolarity = psg.noisePolarity == 1 ? 0 : 1;
            level = static_cast<uint8_t>(256 - level);
        }
    }
}

void updateTone(int channel) {
    if (!settings.UsePSG) return;
    psg.envelopeStep++;  // three ticks a frame, whatever the channels do
    const bool toneOff = (psg.psgRegisters[7] >> channel) & 1;
    writeToneBlock(channel, toneOff ? 0 : channelAmplitude(channel, true));
}

void updateNoise() {
    if (!settings.UsePSG) return;
    uint32_t sumOfSquares = 0;
    for (int channel = 0; channel < kPSGToneChannels; ++channel) {
        const bool noiseOff = (psg.psgRegisters[7] >> (channel + 3)) & 1;
        const uint32_t n = noiseOff ? 0 : channelAmplitude(channel, false);
        sumOfSquares += n * n;
    }
    // Three channels at full volume add up to about full scale.
    writeNoiseBlock(static_cast<uint32_t>(std::sqrt(static_cast<double>(sumOfSquares)) / 1.733));
}

}  // namespace tavir
