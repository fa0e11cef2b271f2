#include "memory/io_ports.h"

#include <cstring>

#include "memory/clock_chip.h"
#include "memory/kanji_rom.h"
#include "memory/memory_map.h"
#include "memory/port_hooks.h"
#include "sound/opll.h"
#include "sound/psg.h"
#include "video/vdp_ports.h"

namespace tavir {

PortDevices portDevices;

namespace {

// Reading the serial data port shows the bits a character of the programmed length has:
// 5, 6, 7 or 8 bits by mode bits 3-2.
uint8_t serialCharacterMask() {
    return static_cast<uint8_t>((0x20 << ((portDevices.serialMode >> 2) & 3)) - 1);
}

// Port B shows the keyboard row that port C bits 3-0 select; rows 11-15 exist and read
// like the others.
uint8_t readKeyboardRow() {
    return portDevices.keyboardMatrix[portDevices.ppiPortC & 0x0F];
}

void writePPIControl(uint8_t value) {
    if (value & 0x80) {
        portDevices.ppiMode = value;
    } else {
        // Bit set/reset of port C: bits 3-1 number the bit, bit 0 is its new level.
        const uint8_t bit = static_cast<uint8_t>(1u << ((value >> 1) & 7));
        if (value & 1)
            portDevices.ppiPortC |= bit;
        else
            portDevices.ppiPortC &= static_cast<uint8_t>(~bit);
    }
    keyClickHook(portDevices.ppiPortC & 0x80);
}

}  // namespace

void resetPortDevices() {
    std::memset(portDevices.keyboardMatrix, 0xFF, sizeof portDevices.keyboardMatrix);
    portDevices.serialMode = 0;
}

uint8_t inPort(uint8_t port) {
    switch (port) {
        case 0x80: return serialCharacterMask();
        case 0x81: return 0x85;  // serial status: transmitter ready and empty, DSR
        case 0x90:
            return 0xFD;  // printer status: bit 1 clear, the printer is ready
        case 0x98: return readVDPData();
        case 0x99: return readVDPStatus();
        case 0xA2: return readPSG();
        case 0xA8: return memoryMap.primarySlotRegister;
        case 0xA9: return readKeyboardRow();
        case 0xAA: return portDevices.ppiPortC;
        case 0xAB: return portDevices.ppiMode;
        case 0xB5: return readClockChip();
        case 0xD9: return readKanjiLevel1();
        case 0xDB: return readKanjiLevel2();
        case 0xFC:
        case 0xFD:
        case 0xFE:
        case 0xFF: return readMapperPage(port - 0xFC);
        default: return 0xFF;
    }
}

void outPort(uint8_t port, uint8_t value) {
    switch (port) {
        case 0x7C: selectOPLLRegister(value); break;
        case 0x7D: writeOPLL(value); break;
        case 0x80: serialHook(value & serialCharacterMask()); break;
        case 0x81: portDevices.serialMode = value; break;
        case 0x91: printerHook(value); break;
        case 0x98: writeVDPData(value); break;
        case 0x99: writeVDPControl(value); break;
        case 0x9A: writeVDPPalette(value); break;
        case 0x9B: writeVDPIndirect(value); break;
        case 0xA0: selectPSGRegister(value); break;
        case 0xA1: writePSG(value); break;
        case 0xA8: setPrimarySlots(value); break;
        case 0xAA: portDevices.ppiPortC = value; break;
        case 0xAB: writePPIControl(value); break;
        case 0xB4: selectClockRegister(value); break;
        case 0xB5: writeClockChip(value); break;
        case 0xD8:
        case 0xDA: setKanjiAddressLow(value); break;
        case 0xD9:
        case 0xDB: setKanjiAddressHigh(value); break;
        case 0xFC:
        case 0xFD:
        case 0xFE:
        case 0xFF: setMapperPage(port - 0xFC, value); break;
        default: break;
    }
}

}  // namespace tavir
