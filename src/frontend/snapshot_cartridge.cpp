// The cartridges' bank registers after a snapshot's fixed layout. A mapped game's code and
// data live in the banks it switched in; loading its RAM and CPU without them would run
// it in whatever banks were shown before.
#include <cstring>

#include "core/log.h"
#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_bytes.h"
#include "frontend/snapshot_layout.h"

namespace tavir::snapshot {

namespace {

// FNV-1a over the whole image. The bank count alone would take another game of the same
// size for this one and switch its banks to where this one's were.
uint32_t imageHash(const Cartridge& c) {
    if (!c.image) return 0;
    uint32_t hash = 2166136261u;
    const size_t length = static_cast<size_t>(c.bankCount) * kCartridgeBankSize;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ c.image[i]) * 16777619u;
    return hash;
}

void storeRecord(const Cartridge& c, uint8_t* record) {
    const bool present = c.cartType != kNoCartridge && c.image;
    record[kCartridgeType] = present ? c.cartType : kNoCartridge;
    put16(record + kCartridgeBankCount, static_cast<uint16_t>(present ? c.bankCount : 0));
    put32(record + kCartridgeHash, present ? imageHash(c) : 0);
    std::memcpy(record + kCartridgeBanks, c.bankRegister, 4);
}

}  // namespace

void appendCartridgeBlock(std::vector<uint8_t>& file) {
    uint8_t block[kCartridgeBlockSize] = {};
    std::memcpy(block, kCartridgeMagic, sizeof kCartridgeMagic);
    block[kCartridgeBlockLength] = static_cast<uint8_t>(kCartridgeBlockSize - kCartridgeRecords);
    for (int i = 0; i < kCartridgeCount; ++i)
        storeRecord(cartridges[i], block + kCartridgeRecords + i * kCartridgeRecordSize);
    file.insert(file.end(), block, block + sizeof block);
}

const char* readCartridgeBlock(std::FILE* file, const std::string& name, CartridgeBanks& banks) {
    banks = CartridgeBanks{};
    const long start = std::ftell(file);
    uint8_t block[kCartridgeBlockSize] = {};
    if (std::fread(block, 1, sizeof kCartridgeMagic, file) != sizeof kCartridgeMagic ||
        std::memcmp(block, kCartridgeMagic, sizeof kCartridgeMagic) != 0) {
        if (start < 0 || std::fseek(file, start, SEEK_SET) != 0)
            return "unreadable after the snapshot";
        return nullptr;
    }
    // The length byte lets a later writer add fields; their bytes are skipped.
    const size_t known = kCartridgeBlockSize - kCartridgeRecords;
    if (std::fread(block + kCartridgeBlockLength, 1, 1, file) != 1 ||
        block[kCartridgeBlockLength] < known ||
        std::fread(block + kCartridgeRecords, 1, known, file) != known ||
        std::fseek(file, block[kCartridgeBlockLength] - known, SEEK_CUR) != 0)
        return "cartridge block cut short";

    uint8_t inserted[kCartridgeCount][kCartridgeRecordSize];
    for (int i = 0; i < kCartridgeCount; ++i) {
        storeRecord(cartridges[i], inserted[i]);
        const uint8_t* record = block + kCartridgeRecords + i * kCartridgeRecordSize;
        if (std::memcmp(record, inserted[i], kCartridgeBanks) != 0) {
            logPrint("%s: taken with another cartridge in slot %d; bank registers not restored\n",
                     name.c_str(), i + 1);
            return nullptr;
        }
        std::memcpy(banks.banks[i], record + kCartridgeBanks, 4);
    }
    for (int i = 0; i < kCartridgeCount; ++i)
        if (!cartridgeBanksReachable(cartridges[i], banks.banks[i]))
            return "cartridge bank out of range";
    banks.apply = true;
    return nullptr;
}

void loadCartridgeBlock(const CartridgeBanks& banks) {
    if (!banks.apply) return;
    for (int i = 0; i < kCartridgeCount; ++i) showCartridgeBanks(i, banks.banks[i]);
}

}  // namespace tavir::snapshot
