#include "core/later_parts.h"

namespace tavir {

void allSoundOff() {}
void restoreChannels() {}
void numpadChannelMute() {}

void stopInputRecording() {}
void recordKeyboardRows() {}
void recordJoystickState() {}

}  // namespace tavir
