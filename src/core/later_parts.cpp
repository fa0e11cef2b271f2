#include "core/later_parts.h"

namespace tavir {

void stopInputRecording() {}
void recordKeyboardRows() {}
void recordJoystickState() {}

}  // namespace tavir
