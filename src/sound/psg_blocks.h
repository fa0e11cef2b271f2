// The PSG's per-frame writers: where in a looping buffer a frame's stretch lies, and the
// square waves and noise written into it.
#pragma once

#include <cstdint>

namespace tavir {

// The stretch of `size` samples that starts `room` samples after the play cursor, and how
// many samples at its end were not written before (the rest were written by earlier
// frames and stay as they are). Moves `writeCursor` to the stretch's end.
struct PSGStretch {
    uint32_t start;  // offset of the stretch in its buffer
    uint32_t size;   // at most the buffer's size
    uint32_t fresh;  // the last `fresh` samples of it are to be written, at most `size`
};
PSGStretch psgStretch(uint32_t playCursor, uint32_t room, uint32_t size, uint32_t& writeCursor);

// Envelope amplitude 0-127 at the current step. The tone variant may start a repeating
// shape's cycle again; the noise variant only reads.
uint32_t envelopeAmplitude(bool toneChannel);

// The fresh samples of a frame's stretch for tone channel `channel`, or for the noise,
// at amplitude `amplitude` (127 at most; 0 writes silence).
void writeToneBlock(int channel, uint32_t amplitude);
void writeNoiseBlock(uint32_t amplitude);

}  // namespace tavir
