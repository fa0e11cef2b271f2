#include "host/desktop/desktop_session.h"

#include <SDL2/SDL.h>
#include <backends/imgui_impl_opengl3.h>
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
constexpr int kIdleWaitMilliseconds = 10;

bool helpOpen = false;

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
    uint32_t wakeEvent = SDL_RegisterEvents(1);
    if (wakeEvent == static_cast<uint32_t>(-1)) wakeEvent = SDL_USEREVENT;
    installDesktopHost(wakeEvent);
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

// True when the window is to close.
bool handleEvent(const SDL_Event& event) {
    ImGui_ImplSDL2_ProcessEvent(&event);
    switch (event.type) {
        case SDL_QUIT: return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) return true;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) desktopFocusChanged(true);
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) desktopFocusChanged(false);
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
    float menuBarHeight = kMenuBarHeight;
    for (bool close = false; !close;) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, kIdleWaitMilliseconds)) {
            do close |= handleEvent(event);
            while (SDL_PollEvent(&event));
        }
        refreshDesktopJoysticks();
        const DisplayRequest request = latestDisplayRequest();
        if (request.serial != appliedRequest) {
            applyDisplayRequest(request);
            appliedRequest = request.serial;
        }
        if (const Picture* picture = takeNewestPicture()) uploadPicture(*picture);

        ImGui_ImplOpenGL3_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ImGui::NewFrame();
        close |= drawMenu(menuBarHeight);
        finishDiskDialog();
        drawPicture(menuBarHeight);
        drawScreenMessage(menuBarHeight);
        drawHelpWindow(helpOpen);
        renderWindow();

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
