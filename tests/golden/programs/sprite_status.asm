; A cartridge that puts six 8x8 sprites side by side on one line of SCREEN 1, the first
; two overlapping, and ORs together every S#0 read over three frames (polling, with
; interrupts off). It then shows that byte in hex on row 0: with collision checks on, C
; (20) is set; with the sprite limit on, 5S (40) and the fifth sprite's number (04); F
; (80) is always set by the frame ends it waits for.
; 150 frames later it switches to SCREEN 5 (sprite mode 2), clears it to black with
; HMMV and shows four 8x8 sprites with a colour per line, two of them overlapping (their
; colours OR where they meet), one with CC (mixed into the one above it without a
; collision). R#5 is written as EB, bit 2 clear: in sprite mode 2 the chip takes that
; address bit as set, so the attribute table is at 7600 and the colours at 7400.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

INIT32: equ 0x006f              ; SCREEN 1: names 1800, sprite attributes 1B00, patterns 3800

start:  call INIT32
        di
        ld hl, 0x3800           ; sprite pattern 0: a solid block
        call write_at
        ld b, 8
solid:  ld a, 0xff
        out (0x98), a
        djnz solid
        ld hl, 0x1b00
        call write_at
        ld hl, sprites
        ld c, 0x98
        ld b, 6 * 4 + 1         ; six sprites and the end marker
        otir
        in a, (0x99)            ; a fresh start: the flags of the set-up are dropped
        ld d, 0                 ; the OR of the reads
        ld e, 3                 ; frame ends to wait for
poll:   in a, (0x99)
        ld c, a
        or d
        ld d, a
        bit 7, c
        jr z, poll
        dec e
        jr nz, poll
        ld hl, 0x1800           ; the byte as two hex digits at the top left
        call write_at
        ld a, d
        rrca
        rrca
        rrca
        rrca
        call digit
        ld a, d
        call digit
        ei
        ld b, 150
pause:  halt
        djnz pause
        di

        ld hl, screen5
        call registers
        ld a, 1                 ; R#14 = 1: addresses 4000-7FFF
        out (0x99), a
        ld a, 0x80 + 14
        out (0x99), a
        ld hl, 0x3400           ; colours at 7400: sprite i has colour i + line
        call write_at
        ld c, 0
colour: ld a, c
        rrca
        rrca
        rrca
        rrca
        and 0x0f
        add a, c
        and 0x0f
        or 1
        ld b, a
        ld a, c
        cp 3 * 16               ; sprite 3's lines: CC, mixed into sprite 2
        ld a, b
        jr c, plain
        or 0x40
plain:  out (0x98), a
        inc c
        ld a, c
        cp 4 * 16
        jr nz, colour
        ld hl, 0x3600           ; attributes at 7600
        call write_at
        ld hl, sprites2
        ld c, 0x98
        ld b, 4 * 4 + 1
        otir
        ld hl, 0x3800           ; pattern 0 at 7800
        call write_at
        ld b, 8
solid2: ld a, 0xff
        out (0x98), a
        djnz solid2
        ei
idle:   halt
        jr idle

        include "vdp_registers.inc"

screen5:                        ; SCREEN 5, then HMMV of the whole page in colour 1
        db 0, 0x06, 1, 0x60, 2, 0x1f, 5, 0xeb, 6, 0x0f, 7, 0x00, 8, 0x08, 9, 0x00, 11, 0x00
        db 36, 0, 37, 0, 38, 0, 39, 0, 40, 0, 41, 1, 42, 212, 43, 0, 44, 0x11, 45, 0, 46, 0xc0
        db 0xff

digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        out (0x98), a
        ret

; HL: a VRAM address below 0x4000 to write from
write_at:
        ld a, l
        out (0x99), a
        ld a, h
        or 0x40
        out (0x99), a
        ret

sprites: ; Y, X, pattern, colour
        db 80, 40, 0, 15
        db 80, 44, 0, 8
        db 80, 60, 0, 2
        db 80, 76, 0, 4
        db 80, 92, 0, 6
        db 80, 108, 0, 10
        db 208
sprites2: ; Y, X, pattern, unused; 216 ends the table in sprite mode 2
        db 60, 60, 0, 0
        db 60, 64, 0, 0
        db 100, 100, 0, 0
        db 96, 102, 0, 0
        db 216
        ds 0x6000 - $, 0xff
