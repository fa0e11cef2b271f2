// The built-in synthesizer as the audio output sees it: silence until a note, then sound;
// and a renderer that falls behind makes the sender drop messages, not wait.
#include "host/midi_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/log.h"
#include "host/midi_output.h"
#include "host/synth_source.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

int peak(const std::vector<int16_t>& samples) {
    int loudest = 0;
    for (int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
    return loudest;
}

TEST(BuiltInSynthesizer, ANoteOnIsHeardAndAStalledRendererDropsMessages) {
    if (*synthesizerSoundFont() == '\0') GTEST_SKIP() << "no General MIDI soundfont installed";
    testing::TemporaryWorkingDirectory directory;
    ASSERT_TRUE(openLog());
    synthesizerUse = SynthesizerUse::kEmulatedTime;
    ASSERT_TRUE(openMIDIOutput(0));
    ASSERT_NE(synthRender(), nullptr);

    std::vector<int16_t> frame(735, 1);
    synthRender()(frame.data(), 735);
    EXPECT_EQ(peak(frame), 0);
    sendMIDIShort(packMIDI(0xC0, 0));        // piano
    sendMIDIShort(packMIDI(0x90, 60, 127));  // middle C
    std::vector<int16_t> tenthSecond(4410);
    synthRender()(tenthSecond.data(), 4410);
    EXPECT_GT(peak(tenthSecond), 1000);

    // Nobody renders now: the queue fills and each refused message is tried a few times,
    // then dropped, with a log line for the first sixteen.
    int refused = 0;
    for (int i = 0; i < 10000; ++i) refused += !sendMIDIShort(packMIDI(0xB0, 11, 100));
    EXPECT_GT(refused, 4000);
    closeMIDIOutput();
    EXPECT_EQ(synthRender(), nullptr);
    synthesizerUse = SynthesizerUse::kNobodyListens;
    closeLog();
    const std::string log = testing::readTextFile(directory.path() / kLogFileName);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 16) << log;
    EXPECT_NE(log.find("MIDI message b0 (3 bytes) dropped: the device refused it 4 times. "
                       "Further drops are not logged.\n"),
              std::string::npos)
        << log;
}

}  // namespace
}  // namespace tavir
