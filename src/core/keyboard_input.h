// The host keyboard turned into what the MSX reads: keyboard matrix rows 0-8 through the
// KeyMap table, and the numeric keypad standing in for a joystick.
#pragma once

namespace tavir {

// Reads the host keyboard into keyState and rebuilds matrix rows 0-8: bit b of row r is
// 0 while the key KeyMap[r][b] is down. Rows 9-15 are not driven by the host keyboard.
void pollKeyboard();

// Builds joystickState[index] (0 or 1) from the keypad in keyState: 4/6 left/right (left
// wins), 8/2 up/down (up wins), 0 trigger A, decimal point trigger B.
void numpadJoystick(int index);

}  // namespace tavir
