#include "memory/io_ports.h"

#include <cstring>

#include "memory/memory_map.h"

namespace tavir {

PortDevices portDevices;

void resetPortDevices() {
    std::memset(portDevices.keyboardMatrix, 0xFF, sizeof portDevices.keyboardMatrix);
    portDevices.serialMode = 0;
}

uint8_t inPort(uint8_t port) {
    switch (port) {
        case 0xA8: return memoryMap.primarySlotRegister;
        case 0xFC:
        case 0xFD:
        case 0xFE:
        case 0xFF: return readMapperPage(port - 0xFC);
        default: return 0xFF;
    }
}

void outPort(uint8_t port, uint8_t value) {
    switch (port) {
        case 0xA8: setPrimarySlots(value); break;
        case 0xFC:
        case 0xFD:
        case 0xFE:
        case 0xFF: setMapperPage(port - 0xFC, value); break;
        default: break;
    }
}

}  // namespace tavir
