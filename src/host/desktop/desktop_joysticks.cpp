#include "host/desktop/desktop_joysticks.h"

#include <SDL2/SDL_gamecontroller.h>
#include <SDL2/SDL_joystick.h>

#include <mutex>
#include <vector>

#include "core/screen_message.h"
#include "core/settings.h"
#include "host/desktop/desktop_keyboard.h"
#include "host/desktop/gamepad_mapping.h"

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

// Game controllers by joystick instance, with the state their events built. Main thread.
struct OpenPad {
    SDL_GameController* controller;
    SDL_JoystickID instance;
    GamepadState state;
};
std::vector<OpenPad> openPads;

OpenPad* padOf(SDL_JoystickID instance) {
    for (OpenPad& pad : openPads)
        if (pad.instance == instance) return &pad;
    return nullptr;
}

void padAdded(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) return;
    const SDL_JoystickID instance =
        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (padOf(instance) != nullptr) {  // already known: SDL may announce a pad twice
        SDL_GameControllerClose(controller);
        return;
    }
    openPads.push_back(OpenPad{controller, instance, GamepadState{}});
    const char* name = SDL_GameControllerName(controller);
    showScreenMessage("Gamepad %d connected: %s", deviceIndex, name != nullptr ? name : "unnamed");
}

void padRemoved(SDL_JoystickID instance) {
    for (auto it = openPads.begin(); it != openPads.end(); ++it) {
        if (it->instance != instance) continue;
        SDL_GameControllerClose(it->controller);
        openPads.erase(it);
        showScreenMessage("Gamepad disconnected");
        return;
    }
}

}  // namespace

void desktopJoystickEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: padAdded(event.cdevice.which); return;
        case SDL_CONTROLLERDEVICEREMOVED: padRemoved(event.cdevice.which); return;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (OpenPad* pad = padOf(event.cbutton.which)) applyGamepadEvent(pad->state, event);
            return;
        case SDL_CONTROLLERAXISMOTION:
            if (OpenPad* pad = padOf(event.caxis.which)) applyGamepadEvent(pad->state, event);
            return;
        default: break;
    }
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
        const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
        if (const OpenPad* pad = padOf(instance)) {
            fresh[index].position = gamepadPosition(pad->state);
            fresh[index].present = true;
            continue;
        }
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(instance);
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
    uint8_t padKeys[256] = {};
    for (const OpenPad& pad : openPads) addBoundKeys(pad.state, settings.PadKeys, padKeys);
    setGamepadKeys(padKeys);
    std::lock_guard<std::mutex> guard(tableLock);
    for (int i = 0; i < kTableSize; ++i) table[i] = fresh[i];
}

void closeDesktopJoysticks() {
    for (OpenPad& pad : openPads) SDL_GameControllerClose(pad.controller);
    openPads.clear();
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
