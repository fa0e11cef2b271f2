#include "host/desktop/desktop_joysticks.h"

#include <SDL2/SDL_joystick.h>

#include <mutex>
#include <vector>

namespace tavir {

namespace {

// Device indexes beyond this read as absent; msx.cfg names joysticks 0..254.
constexpr int kTableSize = 16;

struct TableEntry {
    bool present;
    JoystickPosition position;
};

TableEntry table[kTableSize];
std::mutex tableLock;

std::vector<SDL_Joystick*> openJoysticks;  // main thread only

}  // namespace

void desktopJoystickEvent(const SDL_Event& event) {
    if (event.type == SDL_JOYDEVICEADDED) {
        if (SDL_Joystick* joystick = SDL_JoystickOpen(event.jdevice.which))
            openJoysticks.push_back(joystick);
    } else if (event.type == SDL_JOYDEVICEREMOVED) {
        for (auto it = openJoysticks.begin(); it != openJoysticks.end(); ++it) {
            if (SDL_JoystickInstanceID(*it) == event.jdevice.which) {
                SDL_JoystickClose(*it);
                openJoysticks.erase(it);
                break;
            }
        }
    }
}

void refreshDesktopJoysticks() {
    TableEntry fresh[kTableSize] = {};
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count && index < kTableSize; ++index) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        if (joystick == nullptr || !SDL_JoystickGetAttached(joystick)) continue;
        JoystickPosition& p = fresh[index].position;
        // A joystick without an axis or button reads it as centred or released.
        p.x = joystickAxisFromSDL(
            SDL_JoystickNumAxes(joystick) > 0 ? SDL_JoystickGetAxis(joystick, 0) : 0);
        p.y = joystickAxisFromSDL(
            SDL_JoystickNumAxes(joystick) > 1 ? SDL_JoystickGetAxis(joystick, 1) : 0);
        p.buttons = 0;
        const int buttons = SDL_JoystickNumButtons(joystick);
        for (int button = 0; button < 3 && button < buttons; ++button)
            if (SDL_JoystickGetButton(joystick, button)) p.buttons |= 1u << button;
        fresh[index].present = true;
    }
    std::lock_guard<std::mutex> guard(tableLock);
    for (int i = 0; i < kTableSize; ++i) table[i] = fresh[i];
}

void closeDesktopJoysticks() {
    for (SDL_Joystick* joystick : openJoysticks) SDL_JoystickClose(joystick);
    openJoysticks.clear();
    std::lock_guard<std::mutex> guard(tableLock);
    for (TableEntry& entry : table) entry = TableEntry{};
}

bool readDesktopJoystick(uint8_t device, JoystickPosition* position) {
    if (device >= kTableSize) return false;
    std::lock_guard<std::mutex> guard(tableLock);
    if (!table[device].present) return false;
    *position = table[device].position;
    return true;
}

}  // namespace tavir
