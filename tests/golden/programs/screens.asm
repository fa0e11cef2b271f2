; A cartridge that shows the screens no game of ours uses, each for 100 frames, by
; writing the VDP's registers itself:
;   frames   0-99:  Text 2, 80 columns, name table at 0 with R#2 = 03 as BASIC sets it:
;                   every character 0-255 in turn in the BIOS font, white on blue;
;   frames 100-199: Graphic 7 read as YJK (SCREEN 12): byte x XOR y at dot x of line y,
;                   so Y grows to the right and J, K change from group to group;
;   frames 200-:    the same bytes with YAE (SCREEN 11): bytes with bit 3 set show
;                   palette colours in stripes between the YJK ones.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

CGTABL: equ 0x0004              ; the BIOS font's address

start:  di
        ld hl, text2
        call registers
        ld hl, 0x1000           ; the font to the pattern table
        call write_at
        ld hl, (CGTABL)
        ld bc, 2048
font:   ld a, (hl)
        out (0x98), a
        inc hl
        dec bc
        ld a, b
        or c
        jr nz, font
        ld hl, 0                ; 24 rows of 80 characters
        call write_at
        ld bc, 1920
names:  ld a, c
        out (0x98), a
        dec bc
        ld a, b
        or c
        jr nz, names
        call frames100

        ld hl, graphic7
        call registers
        ld hl, 0                ; 212 lines of 256 bytes; the address carries into R#14
        call write_at
        ld d, 0                 ; line
line:   ld e, 0                 ; dot
dot:    ld a, e
        xor d
        out (0x98), a
        inc e
        jr nz, dot
        inc d
        ld a, d
        cp 212
        jr nz, line
        call frames100

        ld a, 0x18              ; YJK with attributes
        out (0x99), a
        ld a, 0x80 + 25
        out (0x99), a
        ei
idle:   halt
        jr idle

frames100:
        ei
        ld b, 100
wait:   halt
        djnz wait
        di
        ret

; HL: a VRAM address below 0x4000 to write from, with R#14 = 0
write_at:
        xor a
        out (0x99), a
        ld a, 0x80 + 14
        out (0x99), a
        ld a, l
        out (0x99), a
        ld a, h
        or 0x40
        out (0x99), a
        ret

        include "vdp_registers.inc"

text2:  db 0, 0x04, 1, 0x70, 2, 0x03, 4, 0x02, 7, 0xf4, 8, 0x08, 9, 0x00, 25, 0x00, 0xff
graphic7:
        db 0, 0x0e, 1, 0x60, 2, 0x1f, 7, 0x00, 8, 0x08, 9, 0x80, 25, 0x08, 0xff
        ds 0x6000 - $, 0xff
