#include "memory/memory_map.h"

#include <cstring>

#include "memory/cartridge.h"

namespace tavir {

MemoryMap memoryMap;

namespace {

// Slot 3-2 with a real RAM segment: writes go straight to memory.
bool showsRAM(int page) {
    return memoryMap.primarySlot[page] == 3 && memoryMap.secondarySlot[page] == 2 &&
           memoryMap.slotMap[3][2][2 * page] != memoryMap.emptyRAM;
}

void showSlot(int page) {
    const int primary = memoryMap.primarySlot[page];
    const int secondary = primary == 3 ? memoryMap.secondarySlot[page] : 0;
    memoryMap.pageWritable[page] = showsRAM(page) ? 1 : 0;
    memoryMap.mirroredPage[page] = 0;
    memoryMap.pageTable[2 * page] = memoryMap.slotMap[primary][secondary][2 * page];
    memoryMap.pageTable[2 * page + 1] = memoryMap.slotMap[primary][secondary][2 * page + 1];
}

void enterSegment(int page, uint8_t segment) {
    uint8_t* block = memoryMap.segmentTable[segment];
    memoryMap.slotMap[3][2][2 * page] = block;
    memoryMap.slotMap[3][2][2 * page + 1] = block + kPageSize;
}

// Gives the byte under the register back its own value.
void liftRegister() {
    if (memoryMap.registerByte == nullptr) return;
    *memoryMap.registerByte = memoryMap.heldByte;
    memoryMap.registerByte = nullptr;
}

// Pages 0-2 that show page 3's RAM segment too, as bits.
unsigned pagesSharingSegment() {
    unsigned pages = 0;
    if (!showsRAM(3)) return pages;
    for (int page = 0; page < 3; ++page)
        if (showsRAM(page) && memoryMap.mapperRegister[page] == memoryMap.mapperRegister[3])
            pages |= 1u << page;
    return pages;
}

// Rebuilds every page from the slot and mapper registers, and puts the register where
// 0xFFFF of slot 3 reads it.
void refreshMap() {
    liftRegister();
    for (int page = 0; page < 4; ++page) showSlot(page);
    const auto inverse = static_cast<uint8_t>(~memoryMap.secondarySlotRegister);
    uint8_t* top = memoryMap.pageTable[7];
    unsigned sharing = pagesSharingSegment();
    if (memoryMap.primarySlot[3] != 3) {
        memoryMap.topSource = nullptr;
    } else if (top != memoryMap.emptyRAM && sharing == 0) {
        memoryMap.topSource = nullptr;
        memoryMap.registerByte = top + 0x1FFF;
        memoryMap.heldByte = *memoryMap.registerByte;
        *memoryMap.registerByte = inverse;
    } else {
        // While page 7 stayed on this copy, every write to its memory went to both.
        if (memoryMap.topSource != top) std::memcpy(memoryMap.topPage, top, kPageSize);
        memoryMap.topSource = top;
        memoryMap.topPage[0x1FFF] = inverse;
        memoryMap.pageTable[7] = memoryMap.topPage;
        if (sharing != 0) sharing |= 1u << 3;
        for (int page = 0; page < 4; ++page) {
            if (!(sharing >> page & 1)) continue;
            memoryMap.pageWritable[page] = 0;
            memoryMap.mirroredPage[page] = 1;
        }
    }
}

}  // namespace

void initMemoryMap(uint8_t* emptyRAM) {
    memoryMap = MemoryMap{};
    memoryMap.emptyRAM = emptyRAM;
    for (auto& secondaries : memoryMap.slotMap)
        for (auto& pages : secondaries)
            for (auto& page : pages) page = emptyRAM;
    for (auto& segment : memoryMap.segmentTable) segment = emptyRAM;
    for (auto& page : memoryMap.pageTable) page = emptyRAM;
}

void attachRAM(uint8_t* ram) {
    memoryMap.ram = ram;
    for (int segment = 0; segment < kRAMSize / kSegmentSize; ++segment)
        memoryMap.segmentTable[segment] = ram + segment * kSegmentSize;
}

void mapImage(int primary, int secondary, int firstPage, uint8_t* image, int pageCount) {
    for (int i = 0; i < pageCount; ++i)
        memoryMap.slotMap[primary][secondary][firstPage + i] = image + i * kPageSize;
}

void resetMemoryMap() {
    for (int page = 0; page < 4; ++page) {
        memoryMap.primarySlot[page] = 0;
        memoryMap.secondarySlot[page] = 0;
        memoryMap.mapperRegister[page] = static_cast<uint8_t>(3 - page);
        enterSegment(page, memoryMap.mapperRegister[page]);
    }
    memoryMap.primarySlotRegister = 0;
    memoryMap.secondarySlotRegister = 0;
    memoryMap.mapperMask = 3;
    refreshMap();
}

void setPrimarySlots(uint8_t value) {
    if (value == memoryMap.primarySlotRegister) return;
    memoryMap.primarySlotRegister = value;
    for (int page = 0; page < 4; ++page)
        memoryMap.primarySlot[page] = static_cast<uint8_t>((value >> (2 * page)) & 3);
    refreshMap();
}

void setSecondarySlots(uint8_t value) {
    if (value == memoryMap.secondarySlotRegister) return;
    memoryMap.secondarySlotRegister = value;
    for (int page = 0; page < 4; ++page)
        memoryMap.secondarySlot[page] = static_cast<uint8_t>((value >> (2 * page)) & 3);
    refreshMap();
}

void setMapperPage(int page, uint8_t value) {
    const uint8_t segment = value & memoryMap.mapperMask;
    if (segment == memoryMap.mapperRegister[page]) return;
    memoryMap.mapperRegister[page] = segment;
    enterSegment(page, segment);
    refreshMap();
}

void liftSecondarySlotRegister() {
    liftRegister();
    memoryMap.topSource = nullptr;
}

void placeSecondarySlotRegister() {
    refreshMap();
}

uint8_t readMapperPage(int page) {
    return memoryMap.mapperRegister[page] | static_cast<uint8_t>(~memoryMap.mapperMask);
}

void writeMemorySlow(uint16_t address, uint8_t value) {
    if (address == 0xFFFF) {
        if (memoryMap.primarySlot[3] == 3) {
            setSecondarySlots(value);
        } else if (memoryMap.pageWritable[3]) {
            memoryMap.pageTable[7][0x1FFF] = value;
        }
        return;
    }
    const unsigned page = static_cast<unsigned>(address) >> 14;
    if (memoryMap.mirroredPage[page]) {
        // The segment whose upper half page 7 shows as a copy: both take the byte, except
        // the copy's last one, which is the register's.
        const unsigned offset = address & (kSegmentSize - 1);
        memoryMap.slotMap[3][2][2 * page][offset] = value;
        if (offset >= kPageSize && offset != kSegmentSize - 1)
            memoryMap.topPage[offset - kPageSize] = value;
        return;
    }
    // Writes to ROM pages may be bank switches of a cartridge mapper.
    if (address >= 0x4000 && address < 0xC000) switchCartridgeBank(address, value);
}

}  // namespace tavir
