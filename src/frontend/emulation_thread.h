// The emulation thread: it owns the whole machine while it runs, and carries out each
// command that stops the run loop before entering the loop again.
#pragma once

#include <atomic>
#include <thread>

namespace tavir {

// Whether the modifier command key was down when the current command was picked up.
extern bool commandModifier;

// The thread body. Returns 0 when the emulation stops, 1 when the display could not be
// set up (nothing ran).
int emulationThread();

// Clears any earlier stop request and starts the thread, which stores its result in
// `result` when one is given and, as its very last step, sets `ended` when one is given
// (so a waiter can tell a thread that has not yet started running from one that is over).
// The caller makes sure no other emulation thread runs, and joins this one after it has
// requested the stop.
std::thread startEmulationThread(int* result = nullptr, std::atomic<bool>* ended = nullptr);

}  // namespace tavir
