// The main window: the Dear ImGui menu bar at the top and the machine's picture below it,
// aspect-correct in whatever size the window has. Drawn with OpenGL 3 where a GPU draws,
// else by the CPU straight into the window's pixels (surface_window.h).
#pragma once

#include <cstdint>

struct SDL_Window;

namespace tavir {

struct DisplayRequest;
struct Picture;

// The default font's menu bar: the window's client area is the picture plus this.
constexpr int kMenuBarHeight = 19;

// Creates the window for a `width` x `height` picture, windowed at the largest of 3x and
// 2x that fits the desktop (else 1x), and sets up ImGui and
// the picture texture. On failure logs the step that failed, writes SDL's reason to
// standard error, releases what was made and returns false.
bool openDesktopWindow(int32_t width, int32_t height);
void closeDesktopWindow();

SDL_Window* desktopWindow();

// Fits the window to a display request: its picture size, windowed or desktop full screen.
void applyDisplayRequest(const DisplayRequest& request);

// Main thread: the newest picture, shown from the next draw on. It must stay in the
// mailbox until a newer one comes.
void uploadPicture(const Picture& picture);

// Starts an ImGui frame.
void beginWindowFrame();

// The window was exposed or resized: the next draw repaints all of it.
void windowDamaged();

// Inside an ImGui frame: places the picture in the area below the menu bar, letterboxed;
// renderWindow copies it there, beneath ImGui's own drawing.
void drawPicture(float menuBarHeight);

// Whether the picture is enlarged by whole multiples only (the default); the View menu
// turns it off to fill the window.
bool& integerScaling();

// Ends the ImGui frame and shows it.
void renderWindow();

}  // namespace tavir
