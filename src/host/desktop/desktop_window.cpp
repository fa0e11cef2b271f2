#include "host/desktop/desktop_window.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "frontend/window_geometry.h"
#include "host/desktop/desktop_host.h"
#include "host/desktop/picture_mailbox.h"
#include "host/desktop/picture_pixels.h"
#include "host/desktop/surface_window.h"

namespace tavir {

namespace {

// The picture as a texture read through a framebuffer object, so that one blit puts it
// into the window.
struct PictureLayer {
    GLuint texture = 0, framebuffer = 0;
    int32_t textureWidth = 0, textureHeight = 0;
    bool current = false;  // holds the newest picture
    PicturePixels image;
};

struct Window {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool software = false;  // drawn without OpenGL (surface_window)
    bool imguiStarted = false;
    PictureLayer layer;
    const Picture* picture = nullptr;  // the newest, in the mailbox
    bool newPicture = false;           // not drawn yet
    float menuBarHeight = kMenuBarHeight;
    int32_t pictureWidth = 0, pictureHeight = 0;
    PictureRect place{};  // where this frame's picture goes, in ImGui's window units
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

bool createLayer(PictureLayer& layer) {
    glGenTextures(1, &layer.texture);
    glBindTexture(GL_TEXTURE_2D, layer.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenFramebuffers(1, &layer.framebuffer);
    return layer.texture != 0 && layer.framebuffer != 0;
}

void deleteLayer(PictureLayer& layer) {
    if (layer.framebuffer != 0) glDeleteFramebuffers(1, &layer.framebuffer);
    if (layer.texture != 0) glDeleteTextures(1, &layer.texture);
    layer = PictureLayer{};
}

// The newest picture into the layer, unless it is there already.
void fillLayer(PictureLayer& layer) {
    if (layer.current) return;
    convertPicture(*w.picture, layer.image);
    const int32_t width = layer.image.width, height = layer.image.height;
    layer.current = true;
    glBindTexture(GL_TEXTURE_2D, layer.texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (layer.textureWidth != width || layer.textureHeight != height) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, layer.image.pixels.data());
        layer.textureWidth = width;
        layer.textureHeight = height;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, layer.framebuffer);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                               layer.texture, 0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA,
                        GL_UNSIGNED_BYTE, layer.image.pixels.data());
    }
}

// The picture into the window's back buffer at its place (in drawable pixels, bottom-up).
// A blit is the cheapest way there on a software OpenGL (Mesa's llvmpipe under Xvfb or
// without a GPU driver): about a third less than the textured, blended quad of an ImGui
// image, and it leaves ImGui's draw lists to the menu. Whole MSX pixels when enlarged; a
// window shrunk below the picture's size blends neighbouring rows rather than dropping
// some (thin lines and text would vanish).
void blitPicture(int drawableHeight, float scaleX, float scaleY) {
    const PictureRect& p = w.place;
    const GLint left = static_cast<GLint>(std::lround(p.x * scaleX));
    const GLint right = static_cast<GLint>(std::lround((p.x + p.width) * scaleX));
    const GLint top = drawableHeight - static_cast<GLint>(std::lround(p.y * scaleY));
    const GLint bottom = drawableHeight - static_cast<GLint>(std::lround((p.y + p.height) * scaleY));
    const GLint width = right - left, height = top - bottom;
    if (width <= 0 || height <= 0 || w.picture == nullptr) return;
    const bool shrunk = width < w.pictureWidth || height < w.pictureHeight;
    PictureLayer& layer = w.layer;
    fillLayer(layer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, layer.framebuffer);
    glBlitFramebuffer(0, 0, layer.textureWidth, layer.textureHeight, left, bottom, right, top,
                      GL_COLOR_BUFFER_BIT, shrunk ? GL_LINEAR : GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

// Whether the only OpenGL here is a software rasteriser, or there is none: asked of a
// hidden window's context, once. TAVIR_WINDOW_OPENGL=1 keeps OpenGL regardless (tests
// of that path on machines without a GPU).
bool softwareOpenGLOnly() {
    const char* forced = std::getenv("TAVIR_WINDOW_OPENGL");
    if (forced != nullptr && std::strcmp(forced, "1") == 0) return false;
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe == nullptr) return true;
    bool software = true;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        software = renderer == nullptr || std::strstr(renderer, "llvmpipe") != nullptr ||
                   std::strstr(renderer, "softpipe") != nullptr ||
                   std::strstr(renderer, "Software Rasterizer") != nullptr;
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return software;
}

bool openOpenGL() {
    w.context = SDL_GL_CreateContext(w.window);
    if (w.context == nullptr) return fail("CreateWindowEx Failed.\n", "SDL_GL_CreateContext");
    SDL_GL_MakeCurrent(w.window, w.context);
    SDL_GL_SetSwapInterval(1);
    if (!ImGui_ImplSDL2_InitForOpenGL(w.window, w.context) ||
        !ImGui_ImplOpenGL3_Init("#version 130"))
        return fail("CreateWindowEx Failed.\n", "ImGui OpenGL 3 set-up");
    if (!createLayer(w.layer)) return fail("CreateWindowEx Failed.\n", "OpenGL picture texture");
    return true;
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
    w.software = softwareOpenGLOnly();
    // The X server's own shared-memory image, not SDL's OpenGL texture behind the window's
    // pixels: that would bring the software rasteriser back (the environment may differ).
    if (w.software) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    int32_t windowWidth = 0, windowHeight = 0;
    windowSizeFor(width, height, windowWidth, windowHeight);
    w.window = SDL_CreateWindow(
        kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight,
        (w.software ? 0 : SDL_WINDOW_OPENGL) | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (w.window == nullptr) return fail("CreateWindowEx Failed.\n", "SDL_CreateWindow");

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;  // nothing written beside the machine's files
    ImGui::StyleColorsDark();
    w.imguiStarted = true;
    if (w.software) {
        if (!ImGui_ImplSDL2_InitForSDLRenderer(w.window) || !openSurfaceWindow(w.window))
            return fail("CreateWindowEx Failed.\n", "SDL software renderer");
        ImGui::GetIO().BackendFlags |= ImGuiBackendFlags_RendererHasVtxOffset;
    } else if (!openOpenGL()) {
        return false;
    }
    w.pictureWidth = width;
    w.pictureHeight = height;
    return true;
}

void closeDesktopWindow() {
    if (w.software)
        closeSurfaceWindow();
    else
        deleteLayer(w.layer);
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
    // The layers take it when it is drawn, at the size the window then wants.
    w.picture = &picture;
    w.pictureWidth = picture.width;
    w.pictureHeight = picture.height;
    w.layer.current = false;
    w.newPicture = true;
}

void beginWindowFrame() {
    if (!w.software) ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void windowDamaged() {
    if (w.software) surfaceWindowDamaged();
}

void drawPicture(float menuBarHeight) {
    w.place = PictureRect{};
    w.menuBarHeight = menuBarHeight;
    if (w.picture == nullptr) return;
    const ImVec2 size = ImGui::GetIO().DisplaySize;
    const float areaWidth = size.x, areaHeight = size.y - menuBarHeight;
    if (areaWidth <= 0 || areaHeight <= 0) return;
    w.place = placePicture(areaWidth, areaHeight, w.pictureWidth, w.pictureHeight, w.integerScaling);
    w.place.y += menuBarHeight;
}

bool& integerScaling() {
    return w.integerScaling;
}

void renderWindow() {
    if (w.software) {
        renderSurfaceWindow(w.picture, w.newPicture, w.place, w.menuBarHeight);
        w.newPicture = false;
        return;
    }
    ImGui::Render();
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(w.window, &width, &height);
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const ImVec2 scale = ImGui::GetIO().DisplayFramebufferScale;
    if (w.place.width > 0) blitPicture(height, scale.x, scale.y);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(w.window);
}

}  // namespace tavir
