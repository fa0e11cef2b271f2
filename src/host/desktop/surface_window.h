// The window drawn without OpenGL, for machines whose only OpenGL is a software rasteriser
// (Mesa's llvmpipe under Xvfb, a desktop without a GPU driver). There an OpenGL window
// costs a third of a core for a moving picture: the scaled picture, the clear and the menu
// each run through a shader pipeline emulated on the CPU. Here the picture is enlarged
// straight into the window's pixels (only what changed), SDL's software renderer
// draws ImGui's menu and windows over it, and only what was redrawn goes to the X server.
#pragma once

#include <cstdint>

#include "frontend/window_geometry.h"

struct SDL_Window;

namespace tavir {

struct Picture;

// Sets up SDL's software renderer and ImGui's drawing on `window`. On failure writes
// SDL's reason to standard error and returns false.
bool openSurfaceWindow(SDL_Window* window);
void closeSurfaceWindow();

// The window was exposed, resized or changed screens: the next draw redraws all of it.
void surfaceWindowDamaged();

// Ends the ImGui frame and shows it with `picture` (or none) at `place` (window units,
// below a menu bar `menuBarHeight` high). `newPicture` says that `picture` changed since
// the last draw.
void renderSurfaceWindow(const Picture* picture, bool newPicture, const PictureRect& place,
                         float menuBarHeight);

}  // namespace tavir
