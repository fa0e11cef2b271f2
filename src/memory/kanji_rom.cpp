#include "memory/kanji_rom.h"

#include "core/machine.h"

namespace tavir {

KanjiROMPorts kanjiPorts;

namespace {

// The ports only ever build an address up to 0x1FFE0 and a counter up to 31; masking them
// again here keeps the read inside the 256 KB image even if a restored state held more.
uint8_t readKanjiByte(uint32_t levelOffset) {
    KanjiROMPorts& k = kanjiPorts;
    const uint8_t* image = systemMemory.kanjiROM.get();
    const uint32_t offset = levelOffset + (k.address & 0x1FFE0) + (k.counter & 31u);
    // Without a loaded font (a bare CPU harness) the ports read as an empty bus.
    const uint8_t value = image != nullptr ? image[offset] : 0xFF;
    k.counter = static_cast<uint8_t>((k.counter + 1) & 31);
    return value;
}

}  // namespace

void setKanjiAddressLow(uint8_t value) {
    kanjiPorts.address = (kanjiPorts.address & 0x1F800) | (uint32_t{value & 0x3Fu} << 5);
    kanjiPorts.counter = 0;
}

void setKanjiAddressHigh(uint8_t value) {
    kanjiPorts.address = (kanjiPorts.address & 0x7E0) | (uint32_t{value & 0x3Fu} << 11);
    kanjiPorts.counter = 0;
}

uint8_t readKanjiLevel1() {
    return readKanjiByte(0);
}
uint8_t readKanjiLevel2() {
    return readKanjiByte(kKanjiLevel2Offset);
}

}  // namespace tavir
