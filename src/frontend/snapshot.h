// State snapshots: the whole machine in one of forty files of the working directory,
// "TAVIR01.sav" to "TAVIR40.sav", or "TAVIRnn.smv" when the snapshot starts an input
// recording. Called on the emulation thread while the machine is stopped for a command
// (or before it starts).
#pragma once

#include <string>

namespace tavir {

constexpr int kSnapshotSlots = 40;

// "TAVIR05.sav", or "TAVIR05.smv" for a recording; empty for a slot outside 1-40.
std::string snapshotFileName(int slot, bool recording);

// Saves the machine to the slot's file. The file is written under a temporary name, made
// durable and only then renamed over the slot's name, so a failed save leaves the slot's
// previous file as it was; it logs one line. With `recording`, the .smv file stays open
// and every frame appends its input records until the next command. The screen says
// which slot and file were saved, or why not.
bool saveSnapshot(int slot, bool recording);

// Loads the slot's file. A file that is missing leaves the machine alone without a word;
// one that is shorter than its version's layout, of an unknown version, or has a field out
// of range is refused whole with a log line and the machine is not touched. With
// `playback`, the .smv file's input records then replace the live input frame by frame.
// The screen says which slot and file were loaded, or why not (a missing file included).
bool loadSnapshot(int slot, bool playback);

// The same for a file of any name (the batch runner and tests).
bool saveSnapshotFile(const std::string& name, bool recording);
bool loadSnapshotFile(const std::string& name, bool playback);

// A slot the batch runner saves to when it stops the machine, before the stop resets it;
// 0 for none. `snapshotSavedAtStop` tells whether that save worked.
extern int snapshotSlotAtStop;
extern bool snapshotSavedAtStop;

// Called by the emulation thread when a stop is requested, before its reset.
void saveSnapshotAtStop();

}  // namespace tavir
