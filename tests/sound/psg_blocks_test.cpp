// A frame's stretch where it wraps at the end of the one-second buffer: only the samples
// not written by an earlier frame are written.
#include "sound/psg_blocks.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/settings.h"
#include "host/sound_buffers.h"
#include "sound/psg.h"

namespace tavir {
namespace {

TEST(PSGBlocks, OnlyTheFreshEndOfAWrappingStretchIsWritten) {
    settings = Settings{};  // 735 ahead, 1460 long
    psg.tonePeriod[0] = 20.0f;
    // Play cursor 42205: the stretch is 42940..44099 and 0..299; the last frame ended at 43665.
    soundBuffers[0].playCursor.store(42205);
    psg.writeCursor[0] = 43665;
    for (auto& sample : soundBuffers[0].samples) sample.store(0);
    writeToneBlock(0, 100);
    EXPECT_EQ(psg.writeCursor[0], 300u);
    for (uint32_t i = 0; i < kSoundBufferSamples; ++i) {
        const bool fresh = i >= 43665 || i < 300;
        ASSERT_EQ(soundBuffers[0].samples[i].load() != 0, fresh) << i;
    }
    // Nothing played since: nothing new to write. Then a late frame, 3000 samples on:
    // the whole stretch is new.
    for (auto& sample : soundBuffers[0].samples) sample.store(0);
    writeToneBlock(0, 100);
    EXPECT_EQ(std::count_if(std::begin(soundBuffers[0].samples), std::end(soundBuffers[0].samples),
                            [](auto& s) { return s.load() != 0; }),
              0);
    soundBuffers[0].playCursor.store(1105);
    writeToneBlock(0, 100);
    EXPECT_EQ(psg.writeCursor[0], 3300u);
    for (uint32_t i = 1840; i < 3300; ++i) ASSERT_NE(soundBuffers[0].samples[i].load(), 0) << i;
    EXPECT_EQ(soundBuffers[0].samples[1839].load(), 0);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

// A period of 0 is a steady level; the period written after it sounds at once, not after
// the phase has worked off the time the steady level lasted.
TEST(PSGBlocks, ANoteAfterPeriodZeroStartsAtOnce) {
    settings = Settings{};
    auto frame = [](uint32_t play) {
        soundBuffers[1].playCursor.store(play % kSoundBufferSamples);
        writeToneBlock(1, 127);
        std::set<uint8_t> levels;
        for (uint32_t i = 0; i < 735; ++i)
            levels.insert(soundBuffers[1].samples[(play + 1460 + i) % kSoundBufferSamples].load());
        return levels;
    };
    const std::pair<int, uint8_t> writes[] = {{2, 0}, {3, 0}, {2, 0xFE}, {3, 0x01}};
    for (int i = 0; i < 2; ++i) selectPSGRegister(writes[i].first), writePSG(writes[i].second);
    psg.writeCursor[1] = 2195;
    for (uint32_t f = 1; f <= 120; ++f) EXPECT_EQ(frame(f * 735), std::set<uint8_t>{1}) << f;
    for (int i = 2; i < 4; ++i) selectPSGRegister(writes[i].first), writePSG(writes[i].second);
    EXPECT_EQ(frame(121 * 735), (std::set<uint8_t>{1, 255}));
}

// Shape 14 (/\/\) with a ramp of 4 ticks, drawn by hand: a tone channel's evaluation
// folds any step, however far past, back into the cycle; the noise's only reads.
TEST(PSGBlocks, TriangleEnvelopeStaysOnItsTriangleWhateverTheStep) {
    psg.psgRegisters[13] = 0x0E;
    psg.envelopeLength = 4;
    const uint32_t expected[] = {0, 31, 63, 95, 127, 95, 63, 31, 0, 31, 63};
    for (uint32_t step = 0; step < std::size(expected); ++step) {
        psg.envelopeStep = step;
        EXPECT_EQ(envelopeAmplitude(false), expected[step]) << step;
        EXPECT_EQ(psg.envelopeStep, step);
    }
    psg.envelopeStep = 1000001;
    EXPECT_EQ(envelopeAmplitude(true), 31u);
    EXPECT_EQ(psg.envelopeStep, 1u);
}

}  // namespace
}  // namespace tavir
