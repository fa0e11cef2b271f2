// The built-in synthesizer when its renderer falls behind: the sender drops messages
// instead of waiting. (That a note is heard is checked in the batch runner's WAV.)
#include "host/midi_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/log.h"
#include "host/midi_output.h"
#include "host/synth_source.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

TEST(BuiltInSynthesizer, AStalledRendererMakesTheSenderDropNotWait) {
    if (*synthesizerSoundFont() == '\0') GTEST_SKIP() << "no General MIDI soundfont installed";
    testing::TemporaryWorkingDirectory directory;
    ASSERT_TRUE(openLog());
    synthesizerUse = SynthesizerUse::kEmulatedTime;
    ASSERT_TRUE(openMIDIOutput(0));
    ASSERT_NE(synthRender(), nullptr);

    // Nobody renders: the queue fills and each refused message is tried a few times,
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
    EXPECT_TRUE(log.ends_with("b0 (3 bytes) dropped: the device refused it 4 times. Further "
                              "drops are not logged.\n"));
}

}  // namespace
}  // namespace tavir
