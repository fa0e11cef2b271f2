// The desktop program's window session: the window opened after the machine's start-up,
// its event loop with the menu, and the window closed after the machine is released.
#pragma once

#include "frontend/host_entry.h"

namespace tavir {

// The name of the test hook: with TAVIR_AUTORUN_FRAMES=N in the environment, the program
// chooses "Start CPU" as soon as its window is up and "Exit" once N frames have run (or the
// emulation ended by itself), so that a test can run the real program unattended.
constexpr const char* kAutoRunVariable = "TAVIR_AUTORUN_FRAMES";

const WindowSession& desktopSession();

}  // namespace tavir
