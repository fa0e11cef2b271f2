; A cartridge that puts six 8x8 sprites side by side on one line of SCREEN 1, the first
; two overlapping, and ORs together every S#0 read over three frames (polling, with
; interrupts off). It then shows that byte in hex on row 0: with collision checks on, C
; (20) is set; with the sprite limit on, 5S (40) and the fifth sprite's number (04); F
; (80) is always set by the frame ends it waits for.
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
idle:   halt
        jr idle

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
        ds 0x6000 - $, 0xff
