// The program's entry: log, start-up, the window's life, shutdown.
#pragma once

namespace tavir {

// The window a program shows while the machine is up. The machine library knows it only
// through these calls, so that it builds and tests without a window system.
struct WindowSession {
    // Opens the window once the machine has started. False after writing the failure to
    // the log (and the window system's own reason to standard error).
    bool (*open)();
    // The message loop; returns when the user exits or closes the window.
    void (*run)();
    // Closes what `open` opened, after the machine has been released.
    void (*close)();
};

// Returns the process exit code. Without a window, start-up is followed at once by the
// shutdown.
int hostEntry(const WindowSession* window = nullptr);

}  // namespace tavir
