// The Kanji font ROM behind ports 0xD8-0xDB: 256 KB of 32-byte character patterns,
// read one byte at a time through an address register and a byte counter that advances
// with every read. Offsets 0-0x1FFFF are the first level, 0x20000-0x3FFFF the second.
#pragma once

#include <cstdint>

namespace tavir {

constexpr uint32_t kKanjiLevel2Offset = 0x20000;

// Both levels share one address register and one counter: the port that is read picks the
// level. Neither is touched by a machine reset.
struct KanjiROMPorts {
    uint32_t address;  // bits 16-5 of an offset: a character pattern of 32 bytes
    uint8_t counter;   // byte within that pattern, 0-31
};

extern KanjiROMPorts kanjiPorts;

// Ports 0xD8/0xDA: address bits 10-5 from the value's low six bits.
void setKanjiAddressLow(uint8_t value);
// Ports 0xD9/0xDB: address bits 16-11 from the value's low six bits.
void setKanjiAddressHigh(uint8_t value);

// Port 0xD9 reads the first level, port 0xDB the second.
uint8_t readKanjiLevel1();
uint8_t readKanjiLevel2();

}  // namespace tavir
