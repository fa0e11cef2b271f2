// What the window draws over the picture: the newest short message for a few seconds, and
// the Help window with the command keys.
#pragma once

namespace tavir {

// Inside an ImGui frame, below the menu bar: the newest message while it is fresh.
void drawScreenMessage(float menuBarHeight);

// Whether the message area changes with time: a message not shown yet, or one still on
// screen (it fades out). The window draws while this holds even without a new picture.
bool screenMessageChanging();

// Inside an ImGui frame: the Help window while `open`; its close button clears it.
void drawHelpWindow(bool& open);

}  // namespace tavir
