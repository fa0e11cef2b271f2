// What the window draws over the picture: the newest short message for a few seconds, and
// the Help window with the command keys.
#pragma once

namespace tavir {

// Inside an ImGui frame, below the menu bar: the newest message while it is fresh.
void drawScreenMessage(float menuBarHeight);

// Inside an ImGui frame: the Help window while `open`; its close button clears it.
void drawHelpWindow(bool& open);

}  // namespace tavir
