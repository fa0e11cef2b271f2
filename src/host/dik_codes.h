// DirectInput keyboard scan codes (DIK_*): the numbering of the 256-byte keyboard state
// and of the KeyMap and CommandKey values in msx.cfg. Only the codes the machine itself
// tests are named here; the desktop host's table covers the whole keyboard.
#pragma once

#include <cstdint>

namespace tavir::dik {

constexpr uint8_t kReturn = 0x1C;
constexpr uint8_t kRightShift = 0x36;
constexpr uint8_t kNumpad7 = 0x47;
constexpr uint8_t kNumpad8 = 0x48;
constexpr uint8_t kNumpad9 = 0x49;
constexpr uint8_t kNumpad4 = 0x4B;
constexpr uint8_t kNumpad5 = 0x4C;
constexpr uint8_t kNumpad6 = 0x4D;
constexpr uint8_t kNumpad1 = 0x4F;
constexpr uint8_t kNumpad2 = 0x50;
constexpr uint8_t kNumpad3 = 0x51;
constexpr uint8_t kNumpad0 = 0x52;
constexpr uint8_t kDecimal = 0x53;
constexpr uint8_t kF6 = 0x40;
constexpr uint8_t kF12 = 0x58;
constexpr uint8_t kLeftWindows = 0xDB;
constexpr uint8_t kRightWindows = 0xDC;

}  // namespace tavir::dik
