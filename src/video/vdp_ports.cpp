#include "video/vdp_ports.h"

#include "core/machine.h"
#include "core/settings.h"
#include "video/command_engine.h"
#include "video/display_area.h"
#include "video/frame_buffer.h"
#include "video/vdp_registers.h"
#include "video/vdp_state.h"

namespace tavir {

namespace {

// Folded into VRAM so that a window or address restored from a snapshot can't reach
// past it.
uint32_t cpuVRAMIndex() {
    return (vdp.vramWindow + vdp.vramAddress) & kVRAMMask;
}

// In Graphic 3 and above the 14-bit counter carries into R#14, so the CPU streams through
// all of VRAM; the older modes keep it inside their 16 KB.
void carryIntoWindow() {
    if (vdp.vramAddress == 0 && vdp.screenMode > kMulticolour) {
        const uint8_t r14 = (vdp.vdpRegister[14] + 1) & 7;
        vdp.vdpRegister[14] = r14;
        vdp.vramWindow = r14 * 0x4000u;
    }
}

void advanceAddress() {
    vdp.vramAddress = (vdp.vramAddress + 1) & kVRAMWindowMask;
    carryIntoWindow();
}

// S#2 bits that depend on when the CPU looks: HR in the second half of every line, VR
// while the line is outside the display area.
void recomputeStatus2() {
    uint8_t s2 = vdp.vdpStatus[2] & ~(kS2HorizontalRetrace | kS2VerticalRetrace);
    if (cpu.cycleCount < cpu.MSXSpeed / 2) s2 |= kS2HorizontalRetrace;
    // Rows past the last display row count from the same adjusted start as the frame
    // flag, so VR rises on the line after the flag and stays up until the top.
    if ((displayRow(vdp.scanLine) & 0xFF) > displayHeight()) s2 |= kS2VerticalRetrace;
    vdp.vdpStatus[2] = s2;
}

// Rewriting a byte with its own value changes no picture.
void writeVRAMByte(uint32_t index, uint8_t value) {
    if (vdp.vram[index] != value) noteVRAMChange(index);
    vdp.vram[index] = value;
}

}  // namespace

uint8_t readVDPData() {
    const uint8_t value = vdp.readAhead;
    vdp.readAhead = vdp.vram[cpuVRAMIndex()];
    advanceAddress();
    return value;
}

void writeVDPData(uint8_t value) {
    if (!vdp.controlExpectsFirst) return;  // half an address set-up: the byte is lost
    if (vdp.writeSetup) {
        writeVRAMByte(cpuVRAMIndex(), value);
        vdp.readAhead = value;
        advanceAddress();
        return;
    }
    // After a read set-up the read-ahead latch is refilled first, so the byte lands one
    // address beyond the prefetched one.
    vdp.readAhead = vdp.vram[cpuVRAMIndex()];
    vdp.vramAddress = (vdp.vramAddress + 1) & kVRAMWindowMask;
    writeVRAMByte(cpuVRAMIndex(), value);
    carryIntoWindow();
}

void writeVDPControl(uint8_t value) {
    if (vdp.controlExpectsFirst) {
        vdp.controlFirstByte = value;
        vdp.controlExpectsFirst = 0;
        return;
    }
    vdp.controlExpectsFirst = 1;
    switch (value & 0xC0) {
        case 0x00:
        case 0x40:
            vdp.writeSetup = value & 0x40;
            vdp.vramAddress = static_cast<uint16_t>(vdp.controlFirstByte | ((value & 0x3F) << 8));
            if (!vdp.writeSetup) {
                vdp.readAhead = vdp.vram[cpuVRAMIndex()];
                advanceAddress();
            }
            break;
        case 0x80: writeVDPRegister(value & 0x3F, vdp.controlFirstByte); break;
        default: break;  // no such command: the pair is dropped
    }
}

void writeVDPPalette(uint8_t value) {
    if (vdp.paletteExpectsFirst) {
        vdp.paletteFirstByte = value;
        vdp.paletteExpectsFirst = 0;
        return;
    }
    vdp.paletteExpectsFirst = 1;
    // First byte 0RRR0BBB, second 00000GGG.
    const uint8_t first = vdp.paletteFirstByte;
    const uint8_t index = vdp.vdpRegister[16] & 15;
    setPaletteEntry(index, (first & 0x70) >> 4, first & 7, value & 7);
    vdp.vdpRegister[16] = (index + 1) & 15;
}

void writeVDPIndirect(uint8_t value) {
    const uint8_t r17 = vdp.vdpRegister[17];
    const uint8_t target = r17 & 0x3F;
    if (target != 17) writeVDPRegister(target, value);  // R#17 can't point at itself
    if (!(r17 & kR17NoIncrement)) vdp.vdpRegister[17] = (r17 + 1) & 0x3F;
}

uint8_t readVDPStatus() {
    // Any status read resets the port-0x99 latch and withdraws the interrupt request.
    vdp.controlExpectsFirst = 1;
    cpu.pendingVector = kNoInterrupt;
    uint8_t* s = vdp.vdpStatus;
    const int n = vdp.vdpRegister[15] & 15;
    switch (n) {
        case 0: {
            const uint8_t value = s[0];
            // The sprite-limit report lasts until this read; without the limit bit 6
            // is never set and stays as the reset left it.
            s[0] &= ~(kS0Frame | kS0Collision | (settings.SpriteLimit ? kS0FifthSprite : 0));
            return value;
        }
        case 1: {
            const uint8_t value = s[1];
            s[1] &= ~kS1LineInterrupt;
            return value;
        }
        case 2: recomputeStatus2(); return s[2];
        case 7:
            if (s[2] & kS2TransferReady) {
                const uint8_t dot = commandDataRead();
                vdp.vdpRegister[44] = dot;
                s[7] = dot;
            }
            return s[7];
        default: return s[n];
    }
}

}  // namespace tavir
