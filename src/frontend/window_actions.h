// What the window's menu and life cycle do to the machine, apart from any window system:
// start the emulation thread, post reset, hold the machine for the disk dialog, and stop
// the thread at the end. All of it runs on the main (window) thread.
#pragma once

#include <cstdint>

namespace tavir {

// "Start CPU": starts the emulation thread. Refused (false) while one is alive; a thread
// that has ended (quit key, display failure) is joined first and a new one starts on the
// same machine.
bool startCPUFromMenu();

// True from "Start CPU" until the thread has ended.
bool emulationThreadAlive();

// "Reset": the emulation thread resets the machine at the next line end.
void resetFromMenu();

// "A:"/"B:": holds the emulation thread for the dialog; then the dialog's outcome, a
// chosen path or none (cancelled), and the machine runs on. A path is used once the
// thread has stopped for the hold (or when none runs).
void beginDiskDialog();
void endDiskDialog(int drive, const char* chosenPath);

// A file dropped onto the window: a cartridge (.rom, mapper from its name) goes into slot
// 1 and resets the machine; a disk image or set (.dsk, .dfd) goes into drive A as if
// chosen in its dialog. Anything else is refused with a message.
void useDroppedFile(const char* path);

// The pause: the machine and its sound stop at the next line end and stay stopped, through
// dialogs and dropped files, until the pause is lifted. "Start CPU" starts unpaused.
void setPaused(bool paused);
bool machinePaused();

// The orderly end: asks the thread to stop and waits for it, at most `timeoutMilliseconds`.
// True when no thread is left (none ran, or it ended and was joined). False when it did not
// stop in time; it is then left running and the machine must not be released.
bool stopEmulationForShutdown(uint32_t timeoutMilliseconds);

}  // namespace tavir
