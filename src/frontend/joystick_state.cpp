#include "frontend/joystick_state.h"

namespace tavir {

// At rest from the start, so nothing reads as held before the first frame's poll.
uint8_t joystickState[2] = {kJoystickAtRest, kJoystickAtRest};

}  // namespace tavir
