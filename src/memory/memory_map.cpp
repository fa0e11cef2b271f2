#include "memory/memory_map.h"

#include "memory/cartridge.h"

namespace tavir {

MemoryMap memoryMap;

namespace {

// A page is writable only when it shows slot 3-2 and a real RAM segment is mapped there.
uint8_t ramWritable(int page) {
    return memoryMap.slotMap[3][2][2 * page] != memoryMap.emptyRAM ? 1 : 0;
}

void showSlot(int page, int primary, int secondary) {
    memoryMap.pageWritable[page] = (primary == 3 && secondary == 2) ? ramWritable(page) : 0;
    memoryMap.pageTable[2 * page] = memoryMap.slotMap[primary][secondary][2 * page];
    memoryMap.pageTable[2 * page + 1] = memoryMap.slotMap[primary][secondary][2 * page + 1];
}

void enterSegment(int page, uint8_t segment) {
    uint8_t* block = memoryMap.segmentTable[segment];
    memoryMap.slotMap[3][2][2 * page] = block;
    memoryMap.slotMap[3][2][2 * page + 1] = block + kPageSize;
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
        memoryMap.pageWritable[page] = 0;
        memoryMap.primarySlot[page] = 0;
        memoryMap.secondarySlot[page] = 0;
        memoryMap.mapperRegister[page] = static_cast<uint8_t>(3 - page);
        enterSegment(page, memoryMap.mapperRegister[page]);
    }
    for (int n = 0; n < 8; ++n) memoryMap.pageTable[n] = memoryMap.slotMap[0][0][n];
    memoryMap.primarySlotRegister = 0;
    memoryMap.secondarySlotRegister = 0;
    memoryMap.mapperMask = 3;
}

void setPrimarySlots(uint8_t value) {
    if (value == memoryMap.primarySlotRegister) return;
    memoryMap.primarySlotRegister = value;
    for (int page = 0; page < 4; ++page) {
        const int primary = (value >> (2 * page)) & 3;
        memoryMap.primarySlot[page] = static_cast<uint8_t>(primary);
        showSlot(page, primary, primary == 3 ? memoryMap.secondarySlot[page] : 0);
    }
}

void setSecondarySlots(uint8_t value) {
    if (value == memoryMap.secondarySlotRegister) return;
    memoryMap.secondarySlotRegister = value;
    for (int page = 0; page < 4; ++page) {
        const int secondary = (value >> (2 * page)) & 3;
        memoryMap.secondarySlot[page] = static_cast<uint8_t>(secondary);
        if (memoryMap.primarySlot[page] == 3) showSlot(page, 3, secondary);
    }
}

void setMapperPage(int page, uint8_t value) {
    const uint8_t segment = value & memoryMap.mapperMask;
    if (segment == memoryMap.mapperRegister[page]) return;
    memoryMap.mapperRegister[page] = segment;
    enterSegment(page, segment);
    if (memoryMap.primarySlot[page] == 3 && memoryMap.secondarySlot[page] == 2) showSlot(page, 3, 2);
}

uint8_t readMapperPage(int page) {
    return memoryMap.mapperRegister[page] | static_cast<uint8_t>(~memoryMap.mapperMask);
}

// The register sits in front of whatever slot 3 shows at 0xFFFF: it is not memory, so
// it is read here rather than stored into the page, where the RAM byte under it (visible
// through another page mapping the same segment) or the empty page that every unpopulated
// page shares would take it on.
uint8_t readMemoryTop() {
    if (memoryMap.primarySlot[3] == 3) return static_cast<uint8_t>(~memoryMap.secondarySlotRegister);
    return memoryMap.pageTable[7][0x1FFF];
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
    // Writes to ROM pages may be bank switches of a cartridge mapper.
    if (address >= 0x4000 && address < 0xC000) switchCartridgeBank(address, value);
}

}  // namespace tavir
