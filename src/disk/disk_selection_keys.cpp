#include "disk/disk_selection_keys.h"

#include "disk/disk_set_loader.h"

namespace tavir {

namespace {

constexpr uint8_t kKeyDown = 0x80;
constexpr uint8_t kCommandDiskA = 2;
constexpr uint8_t kCommandDiskB = 3;

}  // namespace

int findSelection(const uint8_t (&keyState)[256]) {
    for (int position = 0; position < 41; ++position) {
        if ((keyState[kSelectionKeys[position]] & kKeyDown) == 0) continue;
        return position < 40 ? position + 1 : kSelectionCancelled;
    }
    return kNoSelection;
}

bool selectionKeyDown(const uint8_t (&keyState)[256]) {
    return findSelection(keyState) != kNoSelection;
}

void changeDiskBySelection(uint8_t commandCode, int selection) {
    if (selection < 1 || selection > 40) return;
    if (commandCode == kCommandDiskA) loadDiskFromSet(0, static_cast<uint8_t>(selection));
    if (commandCode == kCommandDiskB) loadDiskFromSet(1, static_cast<uint8_t>(selection));
}

}  // namespace tavir
