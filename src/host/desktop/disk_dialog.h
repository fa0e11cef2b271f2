// The disk-image dialog of the "A:" and "B:" menu items: an ImGui modal file browser over
// the host's folders, showing subfolders and the files "*.dsk *.dfd".
#pragma once

#include <string>

namespace tavir {

enum class DiskDialogOutcome { kNone, kChosen, kCancelled };

// Starts the dialog for drive 0 (A) or 1 (B) in the working directory, or in the folder
// where the last one ended.
void openDiskDialog(int drive);

bool diskDialogOpen();
int diskDialogDrive();

// Draws the dialog inside the current ImGui frame. Returns kChosen with the full path in
// `chosenPath`, or kCancelled, on the frame the dialog closes; kNone otherwise.
DiskDialogOutcome drawDiskDialog(std::string& chosenPath);

}  // namespace tavir
