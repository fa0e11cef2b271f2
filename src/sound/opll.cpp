#include "sound/opll.h"

namespace tavir {

OPLLState opll;

// The translation into MIDI messages keeps its own image of the registers and updates it
// only for writes it accepts, so until it exists a data write changes nothing.
void writeOPLL(uint8_t /*value*/) {}

}  // namespace tavir
