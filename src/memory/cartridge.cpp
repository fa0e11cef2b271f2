#include "memory/cartridge.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "host/regular_file.h"
#include "memory/memory_map.h"

namespace tavir {

Cartridge cartridges[kCartridgeCount];

namespace {

constexpr long kMaxImageLength = long{kMaxCartridgeBanks} * kCartridgeBankSize;
constexpr int kNoBank = -1;  // a slot page the cartridge leaves unpopulated

// Which bank each 8 KB page of the slot shows, by image size. Up to 32 KB the image is
// mirrored over the whole slot, as on cartridges that leave high address lines
// undecoded; a mapped image only answers in 0x4000-0xBFFF.
constexpr int kLayout8K[8] = {0, 0, 0, 0, 0, 0, 0, 0};
constexpr int kLayout16K[8] = {0, 1, 0, 1, 0, 1, 0, 1};
constexpr int kLayout32K[8] = {0, 1, 0, 1, 2, 3, 2, 3};
constexpr int kLayoutMapped[8] = {kNoBank, kNoBank, 0, 1, 2, 3, kNoBank, kNoBank};

const int* layoutFor(int bankCount) {
    if (bankCount == 1) return kLayout8K;
    if (bankCount == 2) return kLayout16K;
    if (bankCount <= 4) return kLayout32K;
    return kLayoutMapped;
}

int roundUpToPowerOfTwo(int count) {
    int power = 1;
    while (power < count) power *= 2;
    return power;
}

// Reads the file into whole 8 KB banks. A file shorter than one bank is padded with 0xFF,
// what an undriven data bus reads; a longer one that does not end on a bank boundary
// loses its incomplete tail, and nothing past 2 MB is read because byte-wide bank
// registers cannot reach it. Returns null if the file is missing, empty or unreadable.
std::unique_ptr<uint8_t[]> readImage(const char* name, int& bankCount) {
    std::FILE* file = openRegularFile(name, "rb");
    if (file == nullptr) return nullptr;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length <= 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    length = std::min(length, kMaxImageLength);
    const int banks = std::max(static_cast<int>(length / kCartridgeBankSize), 1);
    const size_t blockSize = static_cast<size_t>(banks) * kCartridgeBankSize;
    const size_t wanted = std::min(static_cast<size_t>(length), blockSize);

    std::unique_ptr<uint8_t[]> image(new (std::nothrow) uint8_t[blockSize]);
    bool complete = false;
    if (image) {
        std::fill_n(image.get(), blockSize, 0xFF);
        complete = std::fread(image.get(), 1, wanted, file) == wanted;
    }
    std::fclose(file);
    if (!complete) return nullptr;
    bankCount = banks;
    return image;
}

// Points window `window` (8 KB page window + 2) of the cartridge's slot at `bank`, and the
// CPU's view too when that 16 KB page currently shows the slot.
void showBank(int slot, Cartridge& cartridge, int window, uint8_t bank) {
    cartridge.bankRegister[window] = bank;
    uint8_t* memory = cartridge.bankTable[bank];
    const int page = window + 2;
    memoryMap.slotMap[slot][0][page] = memory;
    if (memoryMap.primarySlot[page >> 1] == slot) memoryMap.pageTable[page] = memory;
}

}  // namespace

bool loadCartridge(const char* name, int cartridge) {
    if (cartridge < 0 || cartridge >= kCartridgeCount || name == nullptr) return false;
    int bankCount = 0;
    std::unique_ptr<uint8_t[]> image = readImage(name, bankCount);
    if (!image) return false;

    Cartridge& c = cartridges[cartridge];
    c.image = std::move(image);
    c.bankCount = bankCount;
    for (int bank = 0; bank < kMaxCartridgeBanks; ++bank) {
        c.bankTable[bank] =
            bank < bankCount ? c.image.get() + bank * kCartridgeBankSize : memoryMap.emptyRAM;
    }
    const bool mapped = bankCount > 4;
    c.bankMask = mapped ? static_cast<uint8_t>(roundUpToPowerOfTwo(bankCount) - 1) : 0;
    for (int window = 0; window < 4; ++window)
        c.bankRegister[window] = mapped ? static_cast<uint8_t>(window) : 0;

    const int slot = cartridge + 1;
    const int* layout = layoutFor(bankCount);
    for (int page = 0; page < 8; ++page) {
        memoryMap.slotMap[slot][0][page] =
            layout[page] == kNoBank ? memoryMap.emptyRAM : c.bankTable[layout[page]];
    }
    // Keep the CPU's view in step in case the slot is already shown.
    for (int page = 0; page < 4; ++page) {
        if (memoryMap.primarySlot[page] != slot) continue;
        memoryMap.pageTable[2 * page] = memoryMap.slotMap[slot][0][2 * page];
        memoryMap.pageTable[2 * page + 1] = memoryMap.slotMap[slot][0][2 * page + 1];
    }
    return true;
}

void releaseCartridges() {
    for (Cartridge& c : cartridges) c = Cartridge{};
}

void switchCartridgeBank(uint16_t address, uint8_t value) {
    if (address < 0x4000 || address >= 0xC000) return;
    const int slot = memoryMap.primarySlot[address >> 14];
    if (slot != 1 && slot != 2) return;
    Cartridge& c = cartridges[slot - 1];
    // Images of 32 KB or less have no mapper: their mask makes every bank 0.
    if (c.cartType == kNoCartridge || !c.image || c.bankMask == 0) return;

    int window = 0;
    bool wide = false;  // 16 KB banks: the window and the one after it switch together
    switch (c.cartType) {
        case kMapperPlain8K:
            // 0x9800-0x98FF is where an SCC would sit; writes there are sound, not banks.
            if ((address & 0xFF00) == 0x9800) return;
            window = (address - 0x4000) >> 13;
            break;
        case kMapperBank16K:
            if (address < 0x6000 || address >= 0x8000) return;
            window = 0;
            wide = true;
            break;
        case kMapperKonamiSCC:
            if ((address & 0x1FFF) != 0x1000) return;  // 0x5000, 0x7000, 0x9000, 0xB000
            window = (address - 0x5000) >> 13;
            break;
        case kMapperKonami:
            if ((address & 0x1FFF) != 0) return;  // 0x4000, 0x6000, 0x8000, 0xA000
            window = (address - 0x4000) >> 13;
            break;
        case kMapperASCII8:
            if (address < 0x6000 || address >= 0x8000) return;
            window = (address >> 11) & 3;
            break;
        case kMapperASCII16:
            if (address < 0x6000 || address >= 0x8000) return;
            window = ((address >> 12) & 1) * 2;
            wide = true;
            break;
        default: return;
    }

    uint8_t bank = value & c.bankMask;
    // A 16 KB bank is named by its first 8 KB half.
    if (wide) bank = static_cast<uint8_t>(bank * 2);
    if (bank == c.bankRegister[window]) return;
    showBank(slot, c, window, bank);
    if (wide) showBank(slot, c, window + 1, static_cast<uint8_t>(bank + 1));
}

}  // namespace tavir
