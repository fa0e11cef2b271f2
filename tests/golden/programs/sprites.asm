; A cartridge that shows sprites in both sprite modes, written straight to the VDP with
; interrupts off. While it waits it ORs every S#0 it reads (collision bit 5, fifth-sprite
; bit 6 and its number) and then shows that byte as the X of one sprite.
;   1. SCREEN 1, sprite mode 1, 8 x 8: a diagonal at Y 255 (the first display row), red
;      over dark red (the lower entry in front), a transparent sprite over yellow, the early
;      clock moving a sprite 32 dots left (one cut at the left edge), the status sprite,
;      then the end marker 208 and a sprite after it that must not show.
;   2. The same, magnified.
;   3. SCREEN 5, sprite mode 2 with R#5 = EBh: the VDP forces bit 2, so the attributes
;      are at 7600h and the colours at 7400h. Green and, with CC, red ORed onto it (1 OR
;      2 = 3), a sprite with a colour per line, the status sprite, the end marker 216.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

STATUS: equ 0xc000

start:  di
        ld hl, mode1
        call registers
        ld de, 0x4000
        call clear
        ld hl, sprites1
        call blocks
        call wait
        ld hl, 0x1b00 + 7 * 4 + 1     ; sprite 7's X
        call show
        call wait
        ld hl, magnify
        call registers
        call wait
        ld hl, mode2
        call registers
        ld de, 0x8000
        call clear
        ld hl, window1
        call registers
        ld hl, sprites2
        call blocks
        call wait
        ld hl, 0x7600 + 3 * 4 + 1     ; sprite 3's X
        call show
        call wait
spin:   jr spin

        include "vdp_registers.inc"

; The VRAM write address HL (its low 14 bits; R#14 holds the rest).
address:
        ld a, l
        out (0x99), a
        ld a, h
        and 0x3f
        or 0x40
        out (0x99), a
        ret

; DE zero bytes from VRAM address 0 of the window R#14 selects.
clear:  ld hl, 0
        call address
clear_byte:
        xor a
        out (0x98), a
        dec de
        ld a, d
        or e
        jr nz, clear_byte
        ret

; Blocks of bytes from HL: the address (FFFF ends), the count, the bytes.
blocks: ld e, (hl)
        inc hl
        ld d, (hl)
        inc hl
        ld a, d
        and e
        inc a
        ret z
        ex de, hl
        call address
        ex de, hl
        ld b, (hl)
        inc hl
block_byte:
        ld a, (hl)
        out (0x98), a
        inc hl
        djnz block_byte
        jr blocks

; The status ORed over the wait, without the frame bit, to VRAM address HL.
show:   call address
        ld a, (STATUS)
        and 0x7f
        out (0x98), a
        ret

; 100 frames, ORing each S#0 read into STATUS (cleared first).
wait:   xor a
        ld (STATUS), a
        ld b, 100
wait_frame:
        in a, (0x99)            ; S#0: bit 7 is set once a frame and cleared by the read
        ld c, a
        ld a, (STATUS)
        or c
        ld (STATUS), a
        bit 7, c
        jr z, wait_frame
        djnz wait_frame
        ret

mode1:  db 1, 0x00, 0, 0x00, 2, 0x06, 3, 0x80, 4, 0x00, 5, 0x36, 6, 0x07, 7, 0x04
        db 8, 0x00, 9, 0x00, 11, 0x00, 14, 0x00, 18, 0x00, 23, 0x00, 1, 0x40, 0xff
magnify:
        db 1, 0x41, 0xff
mode2:  db 1, 0x00, 0, 0x06, 2, 0x1f, 5, 0xeb, 6, 0x0f, 7, 0x04, 8, 0x00, 9, 0x00
        db 11, 0x00, 14, 0x00, 1, 0x40, 0xff
window1:
        db 14, 0x01, 0xff

sprites1:
        dw 0x3800               ; patterns: 0 a block, 1 a diagonal
        db 16, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff
        db 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01
        dw 0x1b00               ; Y, X, pattern, colour
        db 40, 255, 20, 1, 15
        db 40, 40, 0, 8,   44, 44, 0, 6
        db 40, 80, 0, 0,   44, 84, 0, 10
        db 80, 40, 0, 0x8c,  80, 28, 0, 0x8d
        db 120, 0, 0, 15
        db 208, 100, 0, 15,  100, 100, 0, 15
        dw 0xffff

sprites2:
        dw 0x7800 & 0x3fff      ; pattern 0 a block (R#14 = 1 from here on)
        db 8, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff
        dw 0x7600 & 0x3fff      ; Y, X, pattern, (unused)
        db 24, 30, 40, 0, 0,  34, 44, 0, 0,  60, 60, 0, 0,  120, 0, 0, 0
        db 216, 100, 0, 0,  100, 100, 0, 0
        dw 0x7400 & 0x3fff      ; colours: a line each, 16 per sprite
        db 64, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2
        db 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41, 0x41
        db 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1
        db 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15
        dw 0xffff
        ds 0x8000 - $, 0xff
