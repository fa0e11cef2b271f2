// MIDI devices 1, 2, ...: the ALSA sequencer's output ports, through RtMidi, in the order
// RtMidi lists them. RtMidi reports failures with exceptions; they end here and come out
// as a false result with RtMidi's text on standard error.
#pragma once

#include <cstdint>

namespace tavir {

// Opens output port `index` (0 = the first port RtMidi lists).
bool openMIDIPort(int index);
void closeMIDIPort();

// False when RtMidi refused the message.
bool sendToMIDIPort(const uint8_t* bytes, int length);

}  // namespace tavir
