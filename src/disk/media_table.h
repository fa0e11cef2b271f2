// Disk geometries by media descriptor, 0xF8-0xFF: the formats of MSX floppy disks.
#pragma once

#include <cstdint>

namespace tavir {

struct MediaEntry {
    uint32_t totalSectors;
    uint8_t heads;
    uint8_t rootEntries;
    uint8_t sectorsPerTrack;
    uint8_t sectorsPerFAT;
    uint8_t sectorsPerCluster;
};

constexpr uint8_t kFirstMediaDescriptor = 0xF8;

// Indexed by media descriptor - 0xF8.
inline constexpr MediaEntry mediaTable[8] = {
    {720, 1, 112, 9, 2, 2},   // 0xF8: 360 KB, single-sided, 9 sectors per track
    {1440, 2, 112, 9, 3, 2},  // 0xF9: 720 KB, double-sided
    {640, 1, 112, 8, 1, 2},   // 0xFA: 320 KB, single-sided, 8 sectors per track
    {1280, 2, 112, 8, 2, 2},  // 0xFB: 640 KB, double-sided
    {360, 1, 64, 9, 2, 1},    // 0xFC: 180 KB
    {720, 2, 112, 9, 2, 2},   // 0xFD: 360 KB, double-sided
    {320, 1, 64, 8, 1, 1},    // 0xFE: 160 KB
    {640, 2, 112, 8, 1, 2},   // 0xFF: 320 KB, double-sided
};

// The geometry of a descriptor, or null for one below 0xF8, which names no MSX format.
inline const MediaEntry* findMedium(uint8_t descriptor) {
    if (descriptor < kFirstMediaDescriptor) return nullptr;
    return &mediaTable[descriptor - kFirstMediaDescriptor];
}

}  // namespace tavir
