// The Z80's 64 KB view of the machine: four primary slots, slot 3 expanded into four
// secondary slots, and the 64 KB memory mapper in slot 3-2. Every 8 KB page of the
// address space is one pointer in `pageTable`, recomputed whenever a slot or mapper
// register changes, so a CPU read is a single table lookup.
//
// Address 0xFFFF of slot 3 is its secondary slot register, which reads back inverted. So
// that reads stay a bare lookup, the inverse is put into the byte that page 7 shows there
// while page 3 is on slot 3, and the memory's own value is held aside (`heldByte`). That
// byte must be one that no other page can show: when page 7's memory is shared (the empty
// page, or a RAM segment that another page shows too), page 7 shows a copy of it instead,
// `topPage`, which writes to that segment keep up to date.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace tavir {

constexpr int kPageSize = 0x2000;       // one 8 KB page of the Z80 address space
constexpr int kSegmentSize = 0x4000;    // one memory-mapper segment (16 KB)
constexpr int kEmptyRAMSize = 0x4000;
constexpr int kRAMSize = 0x10000;       // four mapper segments

struct MemoryMap {
    // Current pointer of each 8 KB page: the slotMap entry that primarySlot/secondarySlot
    // select for it, except page 7 while it shows `topPage`.
    uint8_t* pageTable[8];
    uint8_t* slotMap[4][4][8];     // [primary][secondary][8 KB page]
    uint8_t* segmentTable[256];    // mapper segment -> 16 KB block (EmptyRAM past the RAM)
    uint8_t primarySlot[4];        // per 16 KB page
    uint8_t secondarySlot[4];      // per 16 KB page, used while primarySlot is 3
    uint8_t pageWritable[4];       // per 16 KB page: writes go straight to memory
    uint8_t mapperRegister[4];     // per 16 KB page, already masked
    uint8_t mapperMask;
    uint8_t primarySlotRegister;   // port 0xA8
    uint8_t secondarySlotRegister; // address 0xFFFF of slot 3
    uint8_t* emptyRAM;             // every unpopulated page points at its start
    uint8_t* ram;                  // the mapper's 64 KB
    uint8_t* registerByte;         // the memory byte now showing the register, or nullptr
    uint8_t heldByte;              // that byte's own value
    uint8_t mirroredPage[4];       // per 16 KB page: RAM writes also go to topPage
    const uint8_t* topSource;      // what topPage copies
    uint8_t topPage[kPageSize];
};

extern MemoryMap memoryMap;

// The page index is taken from the address widened to unsigned: shifting the 16-bit value
// itself makes the compiler mask the result again before indexing.
[[gnu::always_inline]] inline uint8_t* pageOf(uint16_t address) {
    return memoryMap.pageTable[static_cast<unsigned>(address) >> 13];
}

[[gnu::always_inline]] inline uint8_t readMemory(uint16_t address) {
    return pageOf(address)[address & 0x1FFF];
}

void writeMemorySlow(uint16_t address, uint8_t value);

[[gnu::always_inline]] inline void writeMemory(uint16_t address, uint8_t value) {
    if (address != 0xFFFF && memoryMap.pageWritable[static_cast<unsigned>(address) >> 14]) {
        pageOf(address)[address & 0x1FFF] = value;
        return;
    }
    writeMemorySlow(address, value);
}

// Words: the Z80 fetches operands, pops and pushes two bytes at a time in most
// instructions. When both bytes lie in one 8 KB page they are one access to it.
static_assert(std::endian::native == std::endian::little, "words are stored low byte first");

[[gnu::always_inline]] inline uint16_t readMemoryWord(uint16_t address) {
    const unsigned offset = address & 0x1FFF;
    if (offset != 0x1FFF) [[likely]] {
        uint16_t word;
        std::memcpy(&word, pageOf(address) + offset, sizeof word);
        return word;
    }
    const uint8_t low = readMemory(address);
    return static_cast<uint16_t>(low | readMemory(static_cast<uint16_t>(address + 1)) << 8);
}

// Writes the word in one store when both bytes go straight to the same writable page;
// false when not (a page end, a ROM or mapper page, or 0xFFFF, the secondary slot
// register), and then nothing is written: the caller writes the bytes one by one in the
// order the CPU does.
[[gnu::always_inline]] inline bool writeMemoryWordDirect(uint16_t address, uint16_t value) {
    const unsigned offset = address & 0x1FFF;
    if (offset == 0x1FFF || address == 0xFFFE ||
        !memoryMap.pageWritable[static_cast<unsigned>(address) >> 14]) [[unlikely]]
        return false;
    std::memcpy(pageOf(address) + offset, &value, sizeof value);
    return true;
}

// Points every slotMap entry and every mapper segment at `emptyRAM`, which the caller
// owns and keeps alive while the map is in use.
void initMemoryMap(uint8_t* emptyRAM);

// Makes the 64 KB `ram` mapper segments 0-3.
void attachRAM(uint8_t* ram);

// Enters a 16 KB or 32 KB image page by page starting at 8 KB page `firstPage`.
void mapImage(int primary, int secondary, int firstPage, uint8_t* image, int pageCount);

void resetMemoryMap();

// Around reading or writing the RAM other than through the map (a snapshot): takes the
// register out of memory, and puts it back afterwards, into the RAM as it is then.
void liftSecondarySlotRegister();
void placeSecondarySlotRegister();

void setPrimarySlots(uint8_t value);
void setSecondarySlots(uint8_t value);
void setMapperPage(int page, uint8_t value);
uint8_t readMapperPage(int page);

}  // namespace tavir
