// The batch runner's record of the FM music: a Standard MIDI File, format 0, one track.
// One tick is one scan line (256 ticks a frame): 768 ticks to a quarter note at a tempo of
// 50000 microseconds per quarter note, three frames of 1/60 second.
#pragma once

#include <cstdint>
#include <vector>

#include "host/midi_recorder.h"

namespace tavir {

constexpr uint16_t kMIDIFileTicksPerQuarter = 768;
constexpr uint32_t kMIDIFileMicrosecondsPerQuarter = 50000;

// The file's bytes. Channel messages become channel events; a long message that starts
// with F0 becomes a SysEx event; any other bytes (a long message that is not whole channel
// messages, data bytes above 127) go into an escape event, exactly as they were sent.
std::vector<uint8_t> buildMIDIFile(const RecordedMIDI& recording);

// Writes buildMIDIFile's bytes to `path`. False when the file can't be written.
bool writeMIDIFile(const char* path, const RecordedMIDI& recording);

}  // namespace tavir
