#include "core/later_parts.h"

namespace tavir {

void allSoundOff() {}
void restoreChannels() {}
void numpadChannelMute() {}

}  // namespace tavir
