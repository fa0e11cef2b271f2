// cart.drc and the ROM images it names, then bank-switching writes and reads across the
// cartridge pages. Input: one byte whose low bits pick the mapper digit (6 and 7 are out
// of range on purpose), two bytes of image length in KB units of 1 KB, the image, and the
// rest as (address, value) pairs written to the slot.
#include <cstdint>
#include <string>

#include "fuzz_machine.h"
#include "memory/cartridge.h"
#include "memory/cartridge_list.h"
#include "memory/memory_map.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavir::fuzz::startFuzzMachine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const char digit = static_cast<char>('0' + (data[0] & 7));
    size_t imageSize = static_cast<size_t>(data[1] | data[2] << 8) % (size - 2);
    const uint8_t* image = data + 3;
    if (imageSize > size - 3) imageSize = size - 3;
    tavir::fuzz::writeBytes("game.rom", image, imageSize);
    const std::string list = std::string(1, digit) + "game.rom\n" + std::string(1, digit) + "GAME.ROM x\n";
    tavir::fuzz::writeBytes("cart.drc", reinterpret_cast<const uint8_t*>(list.data()), list.size());

    tavir::releaseCartridges();
    tavir::loadCartridgeList();
    tavir::setPrimarySlots(0x55);  // slot 1 on every page
    uint32_t sum = 0;
    for (size_t i = 3 + imageSize; i + 3 <= size; i += 3) {
        const uint16_t address = static_cast<uint16_t>(data[i] | data[i + 1] << 8);
        tavir::writeMemory(address, data[i + 2]);
        sum += tavir::readMemory(static_cast<uint16_t>(address ^ 0x2000));
    }
    for (uint32_t address = 0x4000; address < 0xC000; address += 0x100) sum += tavir::readMemory(address);
    tavir::setPrimarySlots(0xF0);
    return static_cast<int>(sum & 0);
}
