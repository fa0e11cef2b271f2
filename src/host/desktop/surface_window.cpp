#include "host/desktop/surface_window.h"

#include <SDL2/SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "host/desktop/picture_mailbox.h"
#include "host/desktop/picture_pixels.h"
#include "host/desktop/picture_scaling.h"

namespace tavir {

namespace {

// More separate bands than this go to the X server as one.
constexpr int32_t kMaxBands = 16;

struct SurfaceWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* font = nullptr;
    SDL_Texture* picture = nullptr;  // for scales that are not whole: SDL stretches it
    int32_t textureWidth = 0, textureHeight = 0;
    ShownRows shown;
    // What the last draw covered; a change of any of it redraws everything.
    const SDL_Surface* surface = nullptr;
    int32_t width = 0, height = 0;
    SDL_Rect place{};
    bool damaged = true;
    bool overlay = false;  // ImGui drew over the picture last time
    // ImGui's output, this time and last time: the same menu bar is not drawn again.
    std::vector<uint8_t> drawn, drawnBefore;
};

SurfaceWindow s;

bool failed(const char* step) {
    std::fprintf(stderr, "tavir: %s: %s\n", step, SDL_GetError());
    return false;
}

bool createFontTexture() {
    ImGuiIO& io = ImGui::GetIO();
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    // ABGR8888 is SDL's name for the bytes R, G, B, A in memory, as ImGui packs them.
    s.font = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                               width, height);
    if (s.font == nullptr) return failed("ImGui font texture");
    SDL_UpdateTexture(s.font, nullptr, pixels, width * 4);
    SDL_SetTextureBlendMode(s.font, SDL_BLENDMODE_BLEND);
    io.Fonts->SetTexID(static_cast<ImTextureID>(s.font));
    return true;
}

// Whether ImGui draws anything below the menu bar (an open menu, a message, a dialog):
// then the picture beneath it is redrawn in full, before and after. The menu bar's own
// bottom edge may reach a pixel further; it is clipped to the bar.
bool drawsOverPicture(const ImDrawData* data, float menuBarHeight) {
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        for (const ImDrawVert& vertex : list->VtxBuffer)
            if (vertex.pos.y > menuBarHeight + 1.5f) return true;
    }
    return false;
}

template <typename T>
void append(std::vector<uint8_t>& to, const T* items, size_t count) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(items);
    to.insert(to.end(), bytes, bytes + count * sizeof(T));
}

// Whether ImGui's output differs from the last draw's: vertices, indices and commands.
bool imguiOutputChanged(const ImDrawData* data) {
    s.drawn.clear();
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        append(s.drawn, list->VtxBuffer.Data, list->VtxBuffer.Size);
        append(s.drawn, list->IdxBuffer.Data, list->IdxBuffer.Size);
        for (const ImDrawCmd& command : list->CmdBuffer) {
            const ImTextureID texture = command.GetTexID();
            const unsigned int numbers[3] = {command.VtxOffset, command.IdxOffset,
                                             command.ElemCount};
            append(s.drawn, &command.ClipRect, 1);
            append(s.drawn, &texture, 1);
            append(s.drawn, numbers, 3);
        }
    }
    const bool changed = s.drawn != s.drawnBefore;
    s.drawn.swap(s.drawnBefore);
    return changed;
}

// ImGui's output, nothing of it below row `lowest`.
void drawImGui(const ImDrawData* data, int32_t width, int32_t lowest) {
    SDL_RenderSetViewport(s.renderer, nullptr);
    const ImVec2 origin = data->DisplayPos;
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        const ImDrawVert* vertices = list->VtxBuffer.Data;
        for (const ImDrawCmd& command : list->CmdBuffer) {
            if (command.UserCallback != nullptr) continue;  // none of ours use one
            const float left = std::max(command.ClipRect.x - origin.x, 0.0f);
            const float top = std::max(command.ClipRect.y - origin.y, 0.0f);
            const float right = std::min(command.ClipRect.z - origin.x, static_cast<float>(width));
            const float bottom =
                std::min(command.ClipRect.w - origin.y, static_cast<float>(lowest));
            if (right <= left || bottom <= top) continue;
            const SDL_Rect clip{static_cast<int>(left), static_cast<int>(top),
                                static_cast<int>(right - left), static_cast<int>(bottom - top)};
            SDL_RenderSetClipRect(s.renderer, &clip);
            const ImDrawVert* first = vertices + command.VtxOffset;
            const char* base = reinterpret_cast<const char*>(first);
            SDL_RenderGeometryRaw(
                s.renderer, static_cast<SDL_Texture*>(command.GetTexID()),
                reinterpret_cast<const float*>(base + offsetof(ImDrawVert, pos)),
                sizeof(ImDrawVert),
                reinterpret_cast<const SDL_Color*>(base + offsetof(ImDrawVert, col)),
                sizeof(ImDrawVert), reinterpret_cast<const float*>(base + offsetof(ImDrawVert, uv)),
                sizeof(ImDrawVert), list->VtxBuffer.Size - static_cast<int>(command.VtxOffset),
                list->IdxBuffer.Data + command.IdxOffset, static_cast<int>(command.ElemCount),
                sizeof(ImDrawIdx));
        }
    }
    SDL_RenderSetClipRect(s.renderer, nullptr);
}

// A picture whose scale is not whole (View > Integer scaling off, or a window smaller than
// the picture): SDL stretches it, blending neighbours when it shrinks, so that thin lines
// and text do not vanish.
void stretchPicture(const Picture& picture, const SDL_Rect& place) {
    if (s.picture == nullptr || s.textureWidth != picture.width ||
        s.textureHeight != picture.height) {
        if (s.picture != nullptr) SDL_DestroyTexture(s.picture);
        s.picture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, picture.width, picture.height);
        s.textureWidth = picture.width;
        s.textureHeight = picture.height;
        if (s.picture == nullptr) return;
        SDL_SetTextureBlendMode(s.picture, SDL_BLENDMODE_NONE);
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(s.picture, nullptr, &pixels, &pitch) != 0) return;
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint16_t* from = picture.pixels + static_cast<size_t>(y) * picture.width;
        uint32_t* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
        for (int32_t x = 0; x < picture.width; ++x) to[x] = bgraFromRGB565(from[x]);
    }
    SDL_UnlockTexture(s.picture);
    const bool shrunk = place.w < picture.width || place.h < picture.height;
    SDL_SetTextureScaleMode(s.picture, shrunk ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_RenderCopy(s.renderer, s.picture, nullptr, &place);
}

// Black around the picture: the letterbox bars and the strip under the menu bar.
void fillAround(SDL_Surface* surface, const SDL_Rect& picture) {
    const int32_t right = picture.x + picture.w, bottom = picture.y + picture.h;
    const SDL_Rect bars[] = {{0, 0, surface->w, picture.y},
                             {0, bottom, surface->w, surface->h - bottom},
                             {0, picture.y, picture.x, picture.h},
                             {right, picture.y, surface->w - right, picture.h}};
    for (const SDL_Rect& bar : bars)
        if (bar.w > 0 && bar.h > 0) SDL_FillRect(surface, &bar, 0);
}

}  // namespace

bool openSurfaceWindow(SDL_Window* window) {
    s = SurfaceWindow{};
    s.window = window;
    s.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (s.renderer == nullptr) return failed("SDL software renderer");
    // SDL's software triangles cover the pixels whose centres they hold, so ImGui's
    // anti-aliased fringes would land a pixel off; without them the menu comes out as the
    // OpenGL drawing has it.
    ImGui::GetStyle().AntiAliasedLines = false;
    ImGui::GetStyle().AntiAliasedFill = false;
    return createFontTexture();
}

void closeSurfaceWindow() {
    if (s.picture != nullptr) SDL_DestroyTexture(s.picture);
    if (s.font != nullptr) SDL_DestroyTexture(s.font);
    if (s.renderer != nullptr) SDL_DestroyRenderer(s.renderer);
    s = SurfaceWindow{};
}

void surfaceWindowDamaged() {
    s.damaged = true;
}

void renderSurfaceWindow(const Picture* picture, bool newPicture, const PictureRect& place,
                         float menuBarHeight) {
    ImGui::Render();
    ImDrawData* data = ImGui::GetDrawData();
    SDL_Surface* surface = SDL_GetWindowSurface(s.window);
    if (surface == nullptr || s.renderer == nullptr) return;
    const SDL_Rect target{
        static_cast<int>(std::lround(place.x)), static_cast<int>(std::lround(place.y)),
        static_cast<int>(std::lround(place.width)), static_cast<int>(std::lround(place.height))};
    const bool overlay = drawsOverPicture(data, menuBarHeight);
    const bool full = s.damaged || overlay || s.overlay || surface != s.surface ||
                      surface->w != s.width || surface->h != s.height || target.x != s.place.x ||
                      target.y != s.place.y || target.w != s.place.w || target.h != s.place.h;
    s.damaged = false;
    s.overlay = overlay;
    s.surface = surface;
    s.width = surface->w;
    s.height = surface->h;
    s.place = target;

    const int32_t menuBottom =
        std::clamp(static_cast<int32_t>(std::ceil(menuBarHeight)), 0, surface->h);
    SDL_Rect rects[kMaxBands + 1];
    int32_t count = 0;
    const bool hasPicture = picture != nullptr && target.w > 0 && target.h > 0;
    const bool menu = imguiOutputChanged(data) || full;
    // SDL's renderer leaves its last clip rectangle on the surface, and fills obey it.
    SDL_SetClipRect(surface, nullptr);
    if (full) {
        fillAround(surface, hasPicture ? target : SDL_Rect{0, surface->h, 0, 0});
    } else if (menu) {
        rects[count++] = SDL_Rect{0, 0, surface->w, menuBottom};
        SDL_FillRect(surface, &rects[0], 0);
    }

    // Whole multiples go straight into the window's pixels when they are 0xXXRRGGBB.
    const int32_t scale = hasPicture ? target.w / picture->width : 0;
    const SDL_PixelFormatEnum format = static_cast<SDL_PixelFormatEnum>(surface->format->format);
    const bool direct = scale >= 1 && target.w == scale * picture->width &&
                        target.h == scale * picture->height && target.x >= 0 && target.y >= 0 &&
                        target.x + target.w <= surface->w && target.y + target.h <= surface->h &&
                        (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888);
    if (hasPicture && direct && (full || newPicture)) {
        RowBand bands[kMaxBands];
        uint8_t* origin = static_cast<uint8_t*>(surface->pixels) +
                          static_cast<ptrdiff_t>(target.y) * surface->pitch + target.x * 4;
        const int32_t n = enlargeChangedRows(*picture, scale, full, s.shown, origin, surface->pitch,
                                             bands, kMaxBands);
        for (int32_t i = 0; i < n; ++i)
            rects[count++] = SDL_Rect{
                target.x + bands[i].left * scale, target.y + bands[i].first * scale,
                (bands[i].right - bands[i].left) * scale, (bands[i].end - bands[i].first) * scale};
    } else if (hasPicture && !direct) {
        // The stretched picture is redrawn every time; a window scaled so is rare.
        s.damaged = true;
        stretchPicture(*picture, target);
    }
    if (menu) {
        drawImGui(data, surface->w, overlay ? surface->h : menuBottom);
        SDL_RenderFlush(s.renderer);
    }
    if (full || !direct) {
        SDL_UpdateWindowSurface(s.window);
    } else if (count > 0) {
        SDL_UpdateWindowSurfaceRects(s.window, rects, count);
    }
}

}  // namespace tavir
