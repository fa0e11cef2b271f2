// Choosing one of forty disks (or snapshots) by key while the machine is stopped for a
// command: the keys 1-0, Q-P, A-; and Z-/ numbered row by row, Escape to cancel.
#pragma once

#include <cstdint>

namespace tavir {

// DirectInput scan codes in the order they are tested: position i (0-39) selects i + 1,
// the last one, Escape, cancels.
inline constexpr uint8_t kSelectionKeys[41] = {
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,  // 1 2 3 4 5 6 7 8 9 0
    0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19,  // Q W E R T Y U I O P
    0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,  // A S D F G H J K L ;
    0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35,  // Z X C V B N M , . /
    0x01,                                                        // Escape
};

constexpr int kNoSelection = -1;
constexpr int kSelectionCancelled = 0;

// The first of the 41 keys down in `keyState` (bit 7 = down), in their test order:
// 1-40 for a selection, kSelectionCancelled for Escape, kNoSelection when none is down.
int findSelection(const uint8_t (&keyState)[256]);

// Whether any of the 41 keys is still down; the selection waits for all to be released.
bool selectionKeyDown(const uint8_t (&keyState)[256]);

// Command codes 2 (drive A) and 3 (drive B): puts disk `selection` (1-40) into the drive.
// A cancelled or missing selection, or another code, changes nothing.
void changeDiskBySelection(uint8_t commandCode, int selection);

}  // namespace tavir
