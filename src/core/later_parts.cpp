#include "core/later_parts.h"

namespace tavir {

void resyncPSG() {}
void updateTone(int /*channel*/) {}
void updateNoise() {}
void stopPSG() {}
void restartPSG() {}

void stopInputRecording() {}
void recordKeyboardRows() {}
void recordJoystickState() {}

}  // namespace tavir
