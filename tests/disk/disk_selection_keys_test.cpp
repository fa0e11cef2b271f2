// Choosing a disk by key: the 41 keys, the order they are tested in, and the disk-change
// commands that use the choice.
#include "disk/disk_selection_keys.h"

#include <gtest/gtest.h>

#include "disk_fixture.h"

namespace tavir::testing {
namespace {

constexpr uint8_t kDown = 0x80;
constexpr uint8_t kEscape = 0x01;
// The first scan code of each row of ten: 1, Q, A, Z.
constexpr uint8_t kRowStarts[4] = {0x02, 0x10, 0x1E, 0x2C};

struct KeyState {
    uint8_t bytes[256] = {};
    KeyState& press(uint8_t code, uint8_t value = kDown) {
        bytes[code] = value;
        return *this;
    }
};

int selectionOf(const KeyState& state) {
    return findSelection(state.bytes);
}

TEST(DiskSelectionKeys, The41KeysAreNumberedRowByRowAndOnlyCountWithBit7) {
    for (int code = 0; code < 256; ++code) {
        int expected = code == kEscape ? kSelectionCancelled : kNoSelection;
        for (int row = 0; row < 4; ++row)
            if (code >= kRowStarts[row] && code < kRowStarts[row] + 10)
                expected = row * 10 + code - kRowStarts[row] + 1;
        const KeyState state = KeyState().press(static_cast<uint8_t>(code));
        EXPECT_EQ(selectionOf(state), expected) << code;
        EXPECT_EQ(selectionKeyDown(state.bytes), expected != kNoSelection) << code;
    }
    EXPECT_EQ(selectionOf(KeyState().press(0x02, 0x7F)), kNoSelection);
    EXPECT_EQ(selectionOf(KeyState().press(0x02, 0xFF)), 1);
}

using DiskChangeCommand = DiskTest;

TEST_F(DiskChangeCommand, CodesTwoAndThreeLoadTheChosenDiskIntoAOrB) {
    for (const char* name : {"a1.dsk", "a2.dsk", "a3.dsk", "b1.dsk", "b2.dsk"})
        writePatternImage(name, 2);
    mountSets("a1.dsk\na2.dsk\na3.dsk\n", "b1.dsk\nb2.dsk\n");

    changeDiskBySelection(2, 3);
    EXPECT_EQ(drives[0].diskNumber, 3u);
    EXPECT_EQ(drives[1].diskNumber, 1u);
    changeDiskBySelection(3, 2);
    EXPECT_EQ(drives[1].diskNumber, 2u);

    // Cancelled, nothing chosen, or not a disk command: the disks stay.
    changeDiskBySelection(2, kSelectionCancelled);
    changeDiskBySelection(2, kNoSelection);
    changeDiskBySelection(4, 1);
    EXPECT_EQ(drives[0].diskNumber, 3u);
    EXPECT_TRUE(driveReady(0));
    EXPECT_EQ(logText(), "");

    changeDiskBySelection(3, 40);
    EXPECT_EQ(logText(), "#40 disk not exist.\n");
}

}  // namespace
}  // namespace tavir::testing
