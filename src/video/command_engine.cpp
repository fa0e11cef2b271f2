// Until the drawing engine is built, commands do nothing: no transfer ever starts, so S#2's
// TR and CE stay clear and software that polls them finds every command finished.
#include "video/command_engine.h"

#include "video/vdp_state.h"

namespace tavir {

void startCommand(uint8_t) {}

void commandDataWrite(uint8_t) {}

uint8_t commandDataRead() {
    return vdp.vdpStatus[7];
}

}  // namespace tavir
