// The boot sector that formatting writes: a 720 KB disk's BIOS parameter block and a small
// Z80 boot program that loads MSXDOS.SYS, or says why not.
#pragma once

#include <array>
#include <cstdint>

namespace tavir {

// Offsets of the two texts the boot program uses.
constexpr int kBootProgramOffset = 30;  // 0xC01E once the disk ROM has loaded the sector
constexpr int kBootErrorTextOffset = 119;
constexpr int kSystemFileNameOffset = 158;

// Formatting patches the geometry fields into it, and the patches stay.
extern std::array<uint8_t, 512> bootSectorTemplate;

}  // namespace tavir
