#include "host/desktop/desktop_window.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/log.h"
#include "frontend/window_geometry.h"
#include "host/desktop/desktop_host.h"
#include "host/desktop/picture_mailbox.h"

namespace tavir {

namespace {

struct Window {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool imguiStarted = false;
    GLuint texture = 0;
    int32_t pictureWidth = 0, pictureHeight = 0;  // what the texture holds
    bool hasPicture = false;
    bool fullScreen = false;
    bool integerScaling = true;
};

Window w;

// The machine's main window has always had this name.
constexpr const char* kWindowTitle = "MENU";

bool fail(const char* logMessage, const char* step) {
    logPrint("%s", logMessage);
    std::fprintf(stderr, "tavir: %s: %s\n", step, SDL_GetError());
    closeDesktopWindow();
    return false;
}

void createTexture() {
    glGenTextures(1, &w.texture);
    glBindTexture(GL_TEXTURE_2D, w.texture);
    // Whole MSX pixels when enlarged. A window shrunk below the picture's size blends
    // neighbouring rows rather than dropping some (thin lines and text would vanish).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// The window's size for a picture: the largest of 3x and 2x that fits the desktop's
// usable area (without panels), else the picture's own size.
void windowSizeFor(int32_t width, int32_t height, int32_t& windowWidth, int32_t& windowHeight) {
    SDL_Rect usable{0, 0, width, height + kMenuBarHeight};
    const int display = w.window != nullptr ? SDL_GetWindowDisplayIndex(w.window) : 0;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0)
        std::fprintf(stderr, "tavir: desktop size unknown: %s\n", SDL_GetError());
    const int scale = initialPictureScale(width, height, kMenuBarHeight, usable.w, usable.h);
    windowWidth = width * scale;
    windowHeight = height * scale + kMenuBarHeight;
}

}  // namespace

bool openDesktopWindow(int32_t width, int32_t height) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail("RegisterClassEX Failed.\n", "SDL_Init");
    // Joysticks are a bonus: without them the machine reads both ports at rest.
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "tavir: no joysticks: %s\n", SDL_GetError());

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    int32_t windowWidth = 0, windowHeight = 0;
    windowSizeFor(width, height, windowWidth, windowHeight);
    w.window =
        SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                         windowHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (w.window == nullptr) return fail("CreateWindowEx Failed.\n", "SDL_CreateWindow");
    w.context = SDL_GL_CreateContext(w.window);
    if (w.context == nullptr) return fail("CreateWindowEx Failed.\n", "SDL_GL_CreateContext");
    SDL_GL_MakeCurrent(w.window, w.context);
    SDL_GL_SetSwapInterval(1);

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;  // nothing written beside the machine's files
    ImGui::StyleColorsDark();
    w.imguiStarted = true;
    if (!ImGui_ImplSDL2_InitForOpenGL(w.window, w.context) ||
        !ImGui_ImplOpenGL3_Init("#version 130"))
        return fail("CreateWindowEx Failed.\n", "ImGui OpenGL 3 set-up");
    createTexture();
    w.pictureWidth = width;
    w.pictureHeight = height;
    return true;
}

void closeDesktopWindow() {
    if (w.texture != 0) glDeleteTextures(1, &w.texture);
    if (w.imguiStarted) {
        if (ImGui::GetIO().BackendRendererUserData != nullptr) ImGui_ImplOpenGL3_Shutdown();
        if (ImGui::GetIO().BackendPlatformUserData != nullptr) ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext();
    }
    if (w.context != nullptr) SDL_GL_DeleteContext(w.context);
    if (w.window != nullptr) SDL_DestroyWindow(w.window);
    SDL_Quit();
    w = Window{};
}

SDL_Window* desktopWindow() {
    return w.window;
}

void applyDisplayRequest(const DisplayRequest& request) {
    if (request.fullScreen != w.fullScreen) {
        SDL_SetWindowFullscreen(w.window, request.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        w.fullScreen = request.fullScreen;
    }
    if (!request.fullScreen) {
        int32_t windowWidth = 0, windowHeight = 0;
        windowSizeFor(request.width, request.height, windowWidth, windowHeight);
        SDL_SetWindowSize(w.window, windowWidth, windowHeight);
    }
}

void uploadPicture(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return;
    glBindTexture(GL_TEXTURE_2D, w.texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (picture.width != w.pictureWidth || picture.height != w.pictureHeight || !w.hasPicture) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, picture.width, picture.height, 0, GL_RGB,
                     GL_UNSIGNED_SHORT_5_6_5, picture.pixels);
        w.pictureWidth = picture.width;
        w.pictureHeight = picture.height;
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, picture.width, picture.height, GL_RGB,
                        GL_UNSIGNED_SHORT_5_6_5, picture.pixels);
    }
    w.hasPicture = true;
}

void drawPicture(float menuBarHeight) {
    if (!w.hasPicture) return;
    const ImVec2 size = ImGui::GetIO().DisplaySize;
    const float areaWidth = size.x, areaHeight = size.y - menuBarHeight;
    if (areaWidth <= 0 || areaHeight <= 0) return;
    const PictureRect place =
        placePicture(areaWidth, areaHeight, w.pictureWidth, w.pictureHeight, w.integerScaling);
    const ImVec2 topLeft(place.x, menuBarHeight + place.y);
    ImGui::GetBackgroundDrawList()->AddImage(
        reinterpret_cast<ImTextureID>(static_cast<intptr_t>(w.texture)), topLeft,
        ImVec2(topLeft.x + place.width, topLeft.y + place.height));
}

bool& integerScaling() {
    return w.integerScaling;
}

void renderWindow() {
    ImGui::Render();
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(w.window, &width, &height);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(w.window);
}

}  // namespace tavir
