#include "core/later_parts.h"

namespace tavir {

uint8_t displayMode = 0;
bool fullScreen = false;

bool initDisplay() {
    return true;
}
void releaseDisplay() {}
void presentFrame() {}

void pollJoystick() {}

void resyncPSG() {}
void updateTone(int /*channel*/) {}
void updateNoise() {}
void stopPSG() {}
void restartPSG() {}

void allSoundOff() {}
void restoreChannels() {}
void numpadChannelMute() {}

void saveScreenshot() {}
void commandRoutine() {}
void joystickPause(int /*index*/) {}
void stopInputRecording() {}
void recordKeyboardRows() {}
void recordJoystickState() {}

}  // namespace tavir
