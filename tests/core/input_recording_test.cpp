// Clock chip reads in a recording: the register value is recorded as it is read, and
// playback hands the program the recorded values until they run out.
#include "core/input_recording.h"

#include <gtest/gtest.h>

#include "memory/clock_chip.h"
#include "memory/io_ports.h"
#include "support/machine_fixture.h"

namespace tavir {
namespace {

int hostSeconds = 0;

TEST(InputRecordingTest, ClockReadsAreRecordedAndReplayedUntilTheyRunOut) {
    testing::TemporaryWorkingDirectory directory;
    setClockTimeSource([] { std::tm time{}; time.tm_sec = hostSeconds; return time; });
    resetClockChip();  // block 0, register 0: the units of the seconds
    startInputRecording(std::fopen("clock.smv", "wb"), kRecording);
    for (int seconds : {7, 43}) hostSeconds = seconds, inPort(0xB5);
    stopInputRecording();
    EXPECT_EQ(testing::readTextFile("clock.smv"), std::string("\x07\x03", 2));

    startInputRecording(std::fopen("clock.smv", "rb"), kPlayingBack);
    hostSeconds = 5;
    EXPECT_EQ(inPort(0xB5), 0xF7);
    EXPECT_EQ(inPort(0xB5), 0xF3);
    EXPECT_EQ(inPort(0xB5), 0xF5) << "past the end the live clock shows";
    EXPECT_EQ(recordingMode, kRecordingOff);
    setClockTimeSource(nullptr);
}

}  // namespace
}  // namespace tavir
