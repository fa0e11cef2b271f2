#include "host/desktop/disk_dialog.h"

#include <imgui.h>

#include <filesystem>

#include "host/desktop/disk_dialog_listing.h"

namespace tavir {

namespace {

namespace fs = std::filesystem;

struct DiskDialog {
    bool open = false;
    bool needsOpenPopup = false;
    int drive = 0;
    std::string title;
    fs::path folder;
    FolderListing listing;
    std::string selected;  // a file name in `folder`, or empty
};

DiskDialog dialog;

void enterFolder(const fs::path& folder) {
    std::error_code error;
    fs::path target = fs::weakly_canonical(folder, error);
    if (error) target = folder;
    FolderListing listing = listDiskFolder(target);
    // An unreadable folder is not entered: the user stays where the list made sense.
    if (!listing.readable && !dialog.folder.empty()) return;
    dialog.folder = target;
    dialog.listing = std::move(listing);
    dialog.selected.clear();
}

}  // namespace

void openDiskDialog(int drive) {
    dialog.open = true;
    dialog.needsOpenPopup = true;
    dialog.drive = drive;
    dialog.title = diskDialogTitle(drive);
    std::error_code error;
    enterFolder(dialog.folder.empty() ? fs::current_path(error) : dialog.folder);
}

bool diskDialogOpen() {
    return dialog.open;
}

int diskDialogDrive() {
    return dialog.drive;
}

DiskDialogOutcome drawDiskDialog(std::string& chosenPath) {
    if (!dialog.open) return DiskDialogOutcome::kNone;
    if (dialog.needsOpenPopup) {
        ImGui::OpenPopup(dialog.title.c_str());
        dialog.needsOpenPopup = false;
    }
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(viewport->GetCenter(), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSize(ImVec2(viewport->Size.x * 0.9f, viewport->Size.y * 0.8f),
                             ImGuiCond_Appearing);
    if (!ImGui::BeginPopupModal(dialog.title.c_str(), nullptr)) {
        dialog.open = false;  // closed by ImGui itself
        return DiskDialogOutcome::kCancelled;
    }

    DiskDialogOutcome outcome = DiskDialogOutcome::kNone;
    fs::path enter;
    bool choose = false;
    std::error_code statusError;  // a file gone since the listing is not chosen
    ImGui::TextUnformatted(dialog.folder.string().c_str());
    const float buttonsHeight = ImGui::GetFrameHeightWithSpacing() * 2;
    ImGui::BeginChild("files", ImVec2(0, -buttonsHeight), true);
    if (!dialog.listing.readable) ImGui::TextUnformatted("(this folder cannot be read)");
    if (dialog.listing.hasParent &&
        ImGui::Selectable("..", false, ImGuiSelectableFlags_AllowDoubleClick) &&
        ImGui::IsMouseDoubleClicked(0))
        enter = dialog.folder.parent_path();
    for (const std::string& name : dialog.listing.subfolders) {
        if (ImGui::Selectable((name + "/").c_str(), false, ImGuiSelectableFlags_AllowDoubleClick) &&
            ImGui::IsMouseDoubleClicked(0))
            enter = dialog.folder / name;
    }
    for (const std::string& name : dialog.listing.files) {
        if (ImGui::Selectable(name.c_str(), dialog.selected == name,
                              ImGuiSelectableFlags_AllowDoubleClick)) {
            dialog.selected = name;
            if (ImGui::IsMouseDoubleClicked(0)) choose = true;
        }
    }
    ImGui::EndChild();
    ImGui::Text("File type: *.dsk *.dfd      File: %s", dialog.selected.c_str());
    ImGui::BeginDisabled(dialog.selected.empty());
    if (ImGui::Button("Open")) choose = true;
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("Cancel") || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) {
        outcome = DiskDialogOutcome::kCancelled;
    } else if (choose && !dialog.selected.empty() &&
               fs::is_regular_file(dialog.folder / dialog.selected, statusError)) {
        chosenPath = (dialog.folder / dialog.selected).string();
        outcome = DiskDialogOutcome::kChosen;
    }
    if (!enter.empty() && outcome == DiskDialogOutcome::kNone) enterFolder(enter);
    if (outcome != DiskDialogOutcome::kNone) {
        dialog.open = false;
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
    return outcome;
}

}  // namespace tavir
