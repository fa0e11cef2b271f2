#include "host/desktop/desktop_session.h"

#include <SDL2/SDL.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/emulation_control.h"
#include "frontend/window_actions.h"
#include "host/desktop/desktop_host.h"
#include "host/desktop/desktop_joysticks.h"
#include "host/desktop/desktop_keyboard.h"
#include "host/desktop/desktop_overlays.h"
#include "host/desktop/desktop_window.h"
#include "host/desktop/disk_dialog.h"
#include "host/desktop/picture_mailbox.h"
#include "video/display_output.h"
#include "video/frame_buffer.h"
#include "video/screenshot.h"

namespace tavir {

namespace {

// The longest the loop sleeps without events: enough for the menu to stay responsive;
// pictures and display requests wake it at once.
constexpr uint32_t kIdleWaitMilliseconds = 10;

// The window is drawn only when something in it changes: a new picture, or the menu and
// windows after input. After input ImGui gets a few frames: a window that sizes itself to
// its contents appears on its second frame, and hover highlights follow a frame later.
constexpr int kDrawsAfterInput = 3;
// Draws without a new picture (input, a fading message) come at most this often, about a
// display's refresh: a stream of mouse motion must not draw a frame per event.
constexpr uint32_t kUpdateIntervalMilliseconds = 16;

bool helpOpen = false;
uint32_t wakeEventType = SDL_USEREVENT;

struct Redraw {
    int afterInput = kDrawsAfterInput;  // the first frames are drawn whatever happens
    uint32_t lastDraw = 0;              // SDL ticks
    bool threadAlive = false;           // what the CPU menu showed when last drawn
    bool paused = false;
};
Redraw redraw;

uint32_t autoRunFrames() {
    const char* value = std::getenv(kAutoRunVariable);
    if (value == nullptr) return 0;
    char* end = nullptr;
    const unsigned long frames = std::strtoul(value, &end, 10);
    return (end != value && *end == '\0' && frames <= UINT32_MAX) ? static_cast<uint32_t>(frames)
                                                                  : 0;
}

bool openSession() {
    // The video's start-up has sized the frame buffer from msx.cfg; the window fits it.
    if (!openDesktopWindow(frameBuffer.width, frameBuffer.height)) return false;
    wakeEventType = SDL_RegisterEvents(1);
    if (wakeEventType == static_cast<uint32_t>(-1)) wakeEventType = SDL_USEREVENT;
    installDesktopHost(wakeEventType);
    redraw = Redraw{};
    if (fullScreen)
        applyDisplayRequest(DisplayRequest{0, frameBuffer.width, frameBuffer.height, true});
    return true;
}

void startDiskDialog(int drive) {
    if (diskDialogOpen()) return;
    beginDiskDialog();
    unacquireDesktopKeyboard();
    openDiskDialog(drive);
}

// The menu bar; true when "Exit" was chosen.
bool drawMenu(float& menuBarHeight) {
    bool exit = false;
    if (!ImGui::BeginMainMenuBar()) return false;
    menuBarHeight = ImGui::GetWindowSize().y;
    if (ImGui::BeginMenu("CPU")) {
        // A second thread on the same machine is refused: the item does nothing then.
        if (ImGui::MenuItem("Start CPU", nullptr, false, !emulationThreadAlive()))
            startCPUFromMenu();
        if (ImGui::MenuItem("Reset")) resetFromMenu();
        if (ImGui::MenuItem("Pause", "Pause", machinePaused(), emulationThreadAlive()))
            setPaused(!machinePaused());
        if (ImGui::MenuItem("Exit")) exit = true;
        ImGui::EndMenu();
    }
    if (ImGui::MenuItem("A:")) startDiskDialog(0);
    if (ImGui::MenuItem("B:")) startDiskDialog(1);
    ImGui::MenuItem("ROM");
    if (ImGui::BeginMenu("View")) {
        ImGui::MenuItem("Integer scaling", nullptr, &integerScaling());
        ImGui::EndMenu();
    }
    if (ImGui::MenuItem("Help")) helpOpen = !helpOpen;
    ImGui::EndMainMenuBar();
    return exit;
}

void finishDiskDialog() {
    std::string path;
    const DiskDialogOutcome outcome = drawDiskDialog(path);
    if (outcome == DiskDialogOutcome::kNone) return;
    endDiskDialog(diskDialogDrive(),
                  outcome == DiskDialogOutcome::kChosen ? path.c_str() : nullptr);
    if (emulationRunning.load()) acquireDesktopKeyboard();
}

// Whether an event can change what the menu, the dialogs or the window show. The emulation
// thread's wake-up only says a picture or request is waiting, and the joysticks reach the
// machine without ImGui: a gamepad's stream of axis motion must not redraw the menu.
bool changesWindow(const SDL_Event& event) {
    if (event.type == wakeEventType) return false;
    switch (event.type) {
        case SDL_JOYAXISMOTION:
        case SDL_JOYBALLMOTION:
        case SDL_JOYHATMOTION:
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: return false;
        default: return true;
    }
}

// Whether to draw now, and how long to wait for events otherwise. A picture is drawn at
// once; other changes wait out the update interval.
bool timeToDraw(bool picture, bool input, uint32_t now, uint32_t& waitMilliseconds) {
    const bool alive = emulationThreadAlive(), paused = machinePaused();
    if (input || alive != redraw.threadAlive || paused != redraw.paused)
        redraw.afterInput = kDrawsAfterInput;
    waitMilliseconds = kIdleWaitMilliseconds;
    if (!picture && redraw.afterInput == 0 && !screenMessageChanging()) return false;
    const uint32_t since = now - redraw.lastDraw;
    if (!picture && since < kUpdateIntervalMilliseconds) {
        waitMilliseconds = kUpdateIntervalMilliseconds - since;
        return false;
    }
    if (redraw.afterInput > 0) --redraw.afterInput;
    redraw.lastDraw = now;
    redraw.threadAlive = alive;
    redraw.paused = paused;
    if (redraw.afterInput > 0) waitMilliseconds = kUpdateIntervalMilliseconds;
    return true;
}

// True when the window is to close.
bool handleEvent(const SDL_Event& event) {
    ImGui_ImplSDL2_ProcessEvent(&event);
    switch (event.type) {
        case SDL_QUIT: return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) return true;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) desktopFocusChanged(true);
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) desktopFocusChanged(false);
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                windowDamaged();
            return false;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            // Pause/Break is the program's own: no KeyMap nor CommandKey can name it.
            if (event.key.keysym.scancode == SDL_SCANCODE_PAUSE) {
                if (event.type == SDL_KEYDOWN && !event.key.repeat && emulationThreadAlive())
                    setPaused(!machinePaused());
                return false;
            }
            desktopKeyEvent(event.key.keysym.scancode, event.type == SDL_KEYDOWN);
            return false;
        case SDL_DROPFILE:
            if (event.drop.file != nullptr) {
                if (!diskDialogOpen()) useDroppedFile(event.drop.file);
                SDL_free(event.drop.file);
            }
            return false;
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION: desktopJoystickEvent(event); return false;
        default: return false;
    }
}

// The test hook's later steps: with TAVIR_AUTORUN_DROP set, that file is dropped onto the
// window once a tenth of the frames have run; with TAVIR_AUTORUN_SCREENSHOT set, the last
// picture is written there as a BMP when the run ends. True when the run is over.
bool autoRunStep(uint32_t autoRun) {
    static bool dropped = false;
    const char* drop = std::getenv("TAVIR_AUTORUN_DROP");
    if (drop != nullptr && !dropped && desktopFramesRun() >= autoRun / 10) {
        dropped = true;
        SDL_Event event{};
        event.type = SDL_DROPFILE;
        event.drop.file = SDL_strdup(drop);
        event.drop.windowID = SDL_GetWindowID(desktopWindow());
        SDL_PushEvent(&event);
    }
    if (desktopFramesRun() < autoRun && emulationThreadAlive()) return false;
    if (const char* shot = std::getenv("TAVIR_AUTORUN_SCREENSHOT")) {
        // The thread must have stopped before its frame buffer is read.
        if (stopEmulationForShutdown(5000) && !writeScreenshotFile(shot))
            std::fprintf(stderr, "tavir: cannot write %s\n", shot);
    }
    return true;
}

void runSession() {
    const uint32_t autoRun = autoRunFrames();
    if (autoRun != 0) startCPUFromMenu();
    uint32_t appliedRequest = 0;
    uint32_t waitMilliseconds = 0;
    float menuBarHeight = kMenuBarHeight;
    for (bool close = false; !close;) {
        SDL_Event event;
        bool input = false;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(waitMilliseconds))) {
            do {
                close |= handleEvent(event);
                input |= changesWindow(event);
            } while (SDL_PollEvent(&event));
        }
        refreshDesktopJoysticks();
        const DisplayRequest request = latestDisplayRequest();
        if (request.serial != appliedRequest) {
            applyDisplayRequest(request);
            appliedRequest = request.serial;
            input = true;
        }
        const Picture* picture = takeNewestPicture();
        if (picture != nullptr) uploadPicture(*picture);

        if (timeToDraw(picture != nullptr, input, SDL_GetTicks(), waitMilliseconds)) {
            beginWindowFrame();
            close |= drawMenu(menuBarHeight);
            finishDiskDialog();
            drawPicture(menuBarHeight);
            drawScreenMessage(menuBarHeight);
            drawHelpWindow(helpOpen);
            renderWindow();
        }

        if (autoRun != 0) close |= autoRunStep(autoRun);
    }
}

void closeSession() {
    closeDesktopJoysticks();
    closeDesktopWindow();
}

const WindowSession session = {openSession, runSession, closeSession};

}  // namespace

const WindowSession& desktopSession() {
    return session;
}

}  // namespace tavir
