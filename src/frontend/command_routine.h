// The emulator's own commands that stop the machine and wait for the user: choosing a
// disk or a snapshot slot by key, and the joystick's hold-pause.
#pragma once

namespace tavir {

// For command codes 2-5: waits for one of the 41 selection keys, acts on the choice, then
// waits until every selection key is up again. Codes 4 and 5 save and load the chosen
// snapshot slot, as a recording or its playback while the modifier key is held. A stop
// request ends either wait.
void commandRoutine();

// For command codes 6 and 7: while button 3 of that joystick is held the machine stands
// still, and the disk and snapshot keys and the screenshot key work as at a frame end.
// Returns when the button is let go, the joystick is gone, or a stop is requested.
void joystickPause(int index);

}  // namespace tavir
