#include "disk/boot_sector.h"

#include <cstddef>

namespace tavir {

namespace {

// The disk ROM loads the boot sector at 0xC000 and calls 0xC01E twice: while it starts up,
// with carry clear (nothing to do yet), and when MSX-DOS is to be booted, with carry set,
// HL pointing at its disk-error abort vector and the DOS entry 0xF37D ready. The program
// opens MSXDOS.SYS through the FCB at 0xC09D (its name is the text at offset 158), reads it
// to 0x0100 and jumps there. On failure, or when a disk error aborts the load, it prints
// the text at offset 119 and waits for a key through the main BIOS (CHPUT, CHGET), called
// with CALSLT so that it works whatever page 0 holds, then tries again.
constexpr uint8_t kBootProgram[] = {
    0xD0,                    // C01E        RET NC            first call: not booting yet
    0x36, 0x5C,              // C01F        LD (HL),5Ch       disk errors abort to BOOTERR
    0x23,                    // C021        INC HL
    0x36, 0xC0,              // C022        LD (HL),0C0h
    0x31, 0x1F, 0xF5,        // C024 LOAD:  LD SP,0F51Fh
    0x21, 0xA9, 0xC0,        // C027        LD HL,0C0A9h      FCB+12: extent onwards
    0x06, 0x19,              // C02A        LD B,25
    0x36, 0x00,              // C02C CLEAR: LD (HL),0         a fresh FCB for every try
    0x23,                    // C02E        INC HL
    0x10, 0xFB,              // C02F        DJNZ CLEAR
    0x11, 0x9D, 0xC0,        // C031        LD DE,0C09Dh      the FCB
    0x0E, 0x0F,              // C034        LD C,0Fh          open file
    0xCD, 0x7D, 0xF3,        // C036        CALL 0F37Dh
    0x3C,                    // C039        INC A             0FFh: not found
    0x28, 0x20,              // C03A        JR Z,BOOTERR
    0x11, 0x00, 0x01,        // C03C        LD DE,0100h
    0x0E, 0x1A,              // C03F        LD C,1Ah          set transfer address
    0xCD, 0x7D, 0xF3,        // C041        CALL 0F37Dh
    0x21, 0x01, 0x00,        // C044        LD HL,1
    0x22, 0xAB, 0xC0,        // C047        LD (0C0ABh),HL    record size 1 byte
    0x21, 0x00, 0x3F,        // C04A        LD HL,3F00h       the whole TPA below 0x4000
    0x11, 0x9D, 0xC0,        // C04D        LD DE,0C09Dh
    0x0E, 0x27,              // C050        LD C,27h          random block read
    0xCD, 0x7D, 0xF3,        // C052        CALL 0F37Dh
    0x7C,                    // C055        LD A,H            HL = bytes read
    0xB5,                    // C056        OR L
    0x28, 0x03,              // C057        JR Z,BOOTERR      an empty file can't start
    0xC3, 0x00, 0x01,        // C059        JP 0100h
    0x31, 0x1F, 0xF5,        // C05C BOOTERR: LD SP,0F51Fh    an abort comes from deep in DOS
    0x21, 0x77, 0xC0,        // C05F        LD HL,0C077h      "Boot error..."
    0x7E,                    // C062 PRINT: LD A,(HL)
    0xFE, 0x24,              // C063        CP '$'
    0x28, 0x5B,              // C065        JR Z,WAITKEY
    0xE5,                    // C067        PUSH HL
    0xDD, 0x21, 0xA2, 0x00,  // C068        LD IX,00A2h       CHPUT
    0xCD, 0xCC, 0xC0,        // C06C        CALL MAINBIOS
    0xE1,                    // C06F        POP HL
    0x23,                    // C070        INC HL
    0x18, 0xEF,              // C071        JR PRINT
};

// Continues after the FCB (0xC09D-0xC0C1).
constexpr int kBootProgramTailOffset = 194;
constexpr uint8_t kBootProgramTail[] = {
    0xDD, 0x21, 0x9F, 0x00,  // C0C2 WAITKEY: LD IX,009Fh     CHGET
    0xCD, 0xCC, 0xC0,        // C0C6        CALL MAINBIOS
    0xC3, 0x24, 0xC0,        // C0C9        JP LOAD           retry
    0xFD, 0x2A, 0xC0, 0xFC,  // C0CC MAINBIOS: LD IY,(0FCC0h) IYh = EXPTBL: main BIOS slot
    0xFB,                    // C0D0        EI                the keyboard is scanned by interrupt
    0xC3, 0x1C, 0x00,        // C0D1        JP 001Ch          CALSLT
};

constexpr char kBootErrorText[] = "Boot error\r\nPress any key for retry\r\n$";
constexpr char kSystemFileName[] = "MSXDOS  SYS";
constexpr int kFCBOffset = kSystemFileNameOffset - 1;  // drive byte 0: the boot drive
constexpr int kFCBSize = 37;

static_assert(kBootProgramOffset + sizeof kBootProgram <= kBootErrorTextOffset);
static_assert(kBootErrorTextOffset + sizeof kBootErrorText - 1 == kFCBOffset);
static_assert(kFCBOffset + kFCBSize == kBootProgramTailOffset);
static_assert(kBootProgramTailOffset + sizeof kBootProgramTail <= 269);

template <size_t N>
constexpr void place(std::array<uint8_t, 512>& sector, int offset, const uint8_t (&bytes)[N]) {
    for (size_t i = 0; i < N; ++i) sector[offset + i] = bytes[i];
}

template <size_t N>
constexpr void placeText(std::array<uint8_t, 512>& sector, int offset, const char (&text)[N]) {
    for (size_t i = 0; i + 1 < N; ++i) sector[offset + i] = static_cast<uint8_t>(text[i]);
}

constexpr void putWord(std::array<uint8_t, 512>& sector, int offset, uint16_t value) {
    sector[offset] = static_cast<uint8_t>(value);
    sector[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// A 720 KB double-sided disk until formatting patches in another geometry.
constexpr std::array<uint8_t, 512> makeBootSector() {
    std::array<uint8_t, 512> sector{};
    sector[0] = 0xEB;  // JR $: a PC-style jump that never runs on an MSX
    sector[1] = 0xFE;
    sector[2] = 0x90;
    placeText(sector, 3, "VFB-1989");
    putWord(sector, 11, 512);   // bytes per sector
    sector[13] = 2;             // sectors per cluster
    putWord(sector, 14, 1);     // reserved sectors
    sector[16] = 2;             // FATs
    putWord(sector, 17, 112);   // root directory entries
    putWord(sector, 19, 1440);  // total sectors
    sector[21] = 0xF9;          // media descriptor
    putWord(sector, 22, 3);     // sectors per FAT
    putWord(sector, 24, 9);     // sectors per track
    putWord(sector, 26, 2);     // heads
    putWord(sector, 28, 0);     // hidden sectors
    place(sector, kBootProgramOffset, kBootProgram);
    placeText(sector, kBootErrorTextOffset, kBootErrorText);
    placeText(sector, kSystemFileNameOffset, kSystemFileName);
    place(sector, kBootProgramTailOffset, kBootProgramTail);
    return sector;
}

}  // namespace

std::array<uint8_t, 512> bootSectorTemplate = makeBootSector();

}  // namespace tavir
