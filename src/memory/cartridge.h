// ROM cartridges in slots 1 and 2 and their bank-switching mappers.
//
// An image is cut into 8 KB banks. Images of up to 32 KB sit fixed in the slot; larger
// ones show four 8 KB windows at 0x4000-0xBFFF whose banks the cartridge's mapper
// switches when the CPU writes into the cartridge's address range.
#pragma once

#include <cstdint>
#include <memory>

namespace tavir {

constexpr int kCartridgeCount = 2;  // cartridge 0 in slot 1, cartridge 1 in slot 2
constexpr int kCartridgeBankSize = 0x2000;
constexpr int kMaxCartridgeBanks = 256;  // bank registers are bytes: 2 MB at most
constexpr uint8_t kNoCartridge = 0xFF;   // cartType of an empty slot
constexpr int kMaxMapperType = 5;

// The mapper types a cart.drc digit selects.
enum MapperType : uint8_t {
    kMapperPlain8K = 0,    // a write anywhere in a window switches that window
    kMapperBank16K = 1,    // writes to 0x6000-0x7FFF switch 0x4000-0x7FFF
    kMapperKonamiSCC = 2,  // writes to 0x5000/0x7000/0x9000/0xB000
    kMapperKonami = 3,     // writes to 0x4000/0x6000/0x8000/0xA000
    kMapperASCII8 = 4,     // writes to 0x6000/0x6800/0x7000/0x7800
    kMapperASCII16 = 5,    // writes to 0x6000-0x6FFF and 0x7000-0x7FFF
};

struct Cartridge {
    uint8_t cartType = kNoCartridge;
    // Value bits a bank switch keeps: the power-of-two bank count minus one for images
    // above 32 KB, 0 for smaller ones, which therefore never switch.
    uint8_t bankMask = 0;
    uint8_t bankRegister[4] = {};  // bank shown in 0x4000, 0x6000, 0x8000, 0xA000
    int bankCount = 0;             // whole 8 KB banks of the loaded image
    // Bank number -> 8 KB of memory. Numbers past the image show EmptyRAM, so every
    // value a mapper can produce lands on real memory.
    uint8_t* bankTable[kMaxCartridgeBanks] = {};
    std::unique_ptr<uint8_t[]> image;
};

extern Cartridge cartridges[kCartridgeCount];

// Loads the image file `name` for cartridge 0 or 1 and enters it into that cartridge's
// slot. Needs the memory map's EmptyRAM. Returns false, with the slot untouched, when
// the cartridge number is wrong or the file is missing, empty or unreadable. The caller
// sets cartType on success.
bool loadCartridge(const char* name, int cartridge);

// Frees both images and marks both slots empty. Their slot-map entries are left alone:
// the memory map is rebuilt before cartridges are loaded again.
void releaseCartridges();

// A CPU write into 0x4000-0xBFFF that no RAM took; acts only when that page shows a
// cartridge slot whose mapper switches banks.
void switchCartridgeBank(uint16_t address, uint8_t value);

// Whether `banks` is a set of bank registers the cartridge's own mapper could have
// reached from its reset state through switchCartridgeBank: each bank within the mask, a
// 16 KB bank as an even 8 KB half followed by the next, windows the mapper never switches
// at their reset banks. Images of 32 KB or less never switch, so only their reset set
// passes.
bool cartridgeBanksReachable(const Cartridge& cartridge, const uint8_t (&banks)[4]);

// Shows `banks` (which passed cartridgeBanksReachable) in cartridge 0 or 1's windows, in
// the slot map and, where the slot is shown, in the CPU's view. Nothing for a cartridge
// without a mapper.
void showCartridgeBanks(int cartridge, const uint8_t (&banks)[4]);

}  // namespace tavir
