#include "host/desktop/desktop_overlays.h"

#include <SDL2/SDL.h>
#include <imgui.h>

#include <cstdint>

#include "core/screen_message.h"
#include "core/settings.h"
#include "host/desktop/sdl_key_table.h"

namespace tavir {

namespace {

constexpr uint32_t kMessageMilliseconds = 4000;
constexpr uint32_t kFadeMilliseconds = 500;  // the last part of it, fading out

struct Shown {
    uint32_t number = 0;  // the message on screen
    uint32_t since = 0;   // SDL ticks when it first appeared
    char text[kScreenMessageLength] = {};
};
Shown shown;

// The name SDL gives the key with this DirectInput code, or "none".
const char* keyName(uint8_t code) {
    if (code == 0) return "none";
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        if (directInputCode(static_cast<SDL_Scancode>(scancode)) == code)
            return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
    }
    return "a key SDL doesn't name";
}

}  // namespace

void drawScreenMessage(float menuBarHeight) {
    char text[kScreenMessageLength];
    const uint32_t number = latestScreenMessage(text);
    if (number == 0) return;
    const uint32_t now = SDL_GetTicks();
    if (number != shown.number) {
        shown.number = number;
        shown.since = now;
        SDL_strlcpy(shown.text, text, sizeof shown.text);
    }
    const uint32_t age = now - shown.since;
    if (age >= kMessageMilliseconds) return;
    const uint32_t left = kMessageMilliseconds - age;
    const float alpha =
        left < kFadeMilliseconds ? static_cast<float>(left) / kFadeMilliseconds : 1.0f;

    ImGui::SetNextWindowPos(ImVec2(8, menuBarHeight + 8));
    ImGui::SetNextWindowBgAlpha(0.75f * alpha);
    ImGui::PushStyleVar(ImGuiStyleVar_Alpha, alpha);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoInputs |
                                   ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav;
    if (ImGui::Begin("##message", nullptr, flags)) ImGui::TextUnformatted(shown.text);
    ImGui::End();
    ImGui::PopStyleVar();
}

bool screenMessageChanging() {
    char text[kScreenMessageLength];
    const uint32_t number = latestScreenMessage(text);
    if (number == 0) return false;
    return number != shown.number || SDL_GetTicks() - shown.since < kMessageMilliseconds;
}

void drawHelpWindow(bool& open) {
    if (!open) return;
    ImGui::SetNextWindowSize(ImVec2(430, 0), ImGuiCond_Appearing);
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(display.x * 0.5f, display.y * 0.5f), ImGuiCond_Appearing,
                            ImVec2(0.5f, 0.5f));
    if (ImGui::Begin("Help", &open, ImGuiWindowFlags_NoSavedSettings)) {
        const uint8_t* k = settings.CommandKey;
        const struct {
            const char* what;
            uint8_t key;
        } rows[] = {
            {"Quit (with the modifier: reset)", k[kCommandKeyQuit]},
            {"Disk in A:, then 1-0 Q-P A-; Z-/ (Esc: none)", k[kCommandKeyDiskA]},
            {"Disk in B:, the same", k[kCommandKeyDiskB]},
            {"Save snapshot, then its slot key", k[kCommandKeySaveState]},
            {"Load snapshot, then its slot key", k[kCommandKeyLoadState]},
            {"Screenshot (TAVIR000.bmp ...)", k[kCommandKeyScreenshot]},
            {"Picture on/off", k[kCommandKeyFrameOutput]},
            {"Picture size", k[kCommandKeyPictureSize]},
            {"Full screen", k[kCommandKeyFullScreen]},
            {"Modifier", k[kCommandKeyModifier]},
        };
        if (ImGui::BeginTable("keys", 2, ImGuiTableFlags_RowBg | ImGuiTableFlags_BordersInnerV)) {
            for (const auto& row : rows) {
                ImGui::TableNextRow();
                ImGui::TableNextColumn();
                ImGui::TextUnformatted(keyName(row.key));
                ImGui::TableNextColumn();
                ImGui::TextUnformatted(row.what);
            }
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted("Pause");
            ImGui::TableNextColumn();
            ImGui::TextUnformatted("Pause the machine and its sound");
            ImGui::EndTable();
        }
        ImGui::TextWrapped(
            "The keys are set by CommandKey in msx.cfg. Drop a .rom, .dsk or .dfd "
            "file onto the window to put it in slot 1 or drive A.");
    }
    ImGui::End();
}

}  // namespace tavir
