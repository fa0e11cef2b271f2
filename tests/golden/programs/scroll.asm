; A cartridge that shows four screens of diagonal stripes, 200 frames each (counted on the
; VDP's frame flag with interrupts off), written straight to the VDP with sprites off.
; The byte at VRAM address A is colour ((A & 0xFF) / 8 + A / 256 + t) & 15 in both of
; its dots, t = 0 on page 0 and 8 on page 1: in SCREEN 5 the stripes are 16 dots wide and
; move one colour every two lines, so any shift of the picture shows (but one of 32 lines).
;   1. SCREEN 5, 192 lines: horizontal adjust 7 (R#18), vertical scroll 5 (R#23), scroll
;      one column of 8 dots plus 3 dots (R#26, R#27) with the left 8 dots masked (R#25).
;   2. SCREEN 5, 212 lines: vertical adjust -3, the two-page scroll (SP2) from page 1 by
;      33 columns and 1 dot.
;   3. SCREEN 3 (multicolour): blocks of 4 x 4 dots from the same bytes.
;   4. SCREEN 7 interlaced, the odd field from page 1 (R#9 IL and EO).
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

TWEAK:  equ 0xc000

start:  di
        ld hl, scene1
        call regs
        xor a
        ld (TWEAK), a
        ld de, 0x8000           ; page 0 (SCREEN 5 pages are 32 KB)
        call fill
        call wait
        ld hl, scene2
        call regs
        ld a, 8
        ld (TWEAK), a
        ld a, 2                 ; R#14 = 2: page 1 at 0x8000
        out (0x99), a
        ld a, 0x8e
        out (0x99), a
        ld de, 0x8000
        call fill
        call wait
        ld hl, scene3
        call regs
        xor a
        ld (TWEAK), a
        ld de, 0x2000           ; patterns 0000-07FF, names 1800-1AFF
        call fill
        call wait
        ld hl, scene4
        call regs
        ld de, 0x4000           ; 64 lines of page 0
        call fill
        ld a, 8
        ld (TWEAK), a
        ld a, 4                 ; R#14 = 4: page 1 at 0x10000
        out (0x99), a
        ld a, 0x8e
        out (0x99), a
        ld de, 0x4000
        call fill
spin:   jr spin

; Register writes: (register, value) pairs from HL up to FF; R#14 ends at 0.
regs:   ld a, (hl)
        cp 0xff
        jr z, regs_end
        ld b, a
        inc hl
        ld a, (hl)
        inc hl
        out (0x99), a
        ld a, b
        or 0x80
        out (0x99), a
        jr regs
regs_end:
        xor a
        out (0x99), a
        ld a, 0x8e
        out (0x99), a
        ret

; DE bytes of stripes from VRAM address 0 of the window R#14 selects; in the bitmap
; modes the address carries on into R#14.
fill:   xor a
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld hl, 0
fill_byte:
        ld a, l
        rrca
        rrca
        rrca
        and 0x1f
        add a, h
        ld c, a
        ld a, (TWEAK)
        add a, c
        and 0x0f
        ld c, a
        rlca
        rlca
        rlca
        rlca
        or c
        out (0x98), a
        inc hl
        dec de
        ld a, d
        or e
        jr nz, fill_byte
        ret

; 200 frames from the last one the fill ended in.
wait:   ld b, 200
wait_frame:
        in a, (0x99)            ; S#0: bit 7 is set once a frame and cleared by the read
        and a
        jp p, wait_frame
        djnz wait_frame
        ret

scene1: db 1, 0x00, 0, 0x06, 2, 0x1f, 7, 0x04, 8, 0x02, 9, 0x00, 18, 0x07, 23, 0x05
        db 25, 0x02, 26, 1, 27, 3, 1, 0x40, 0xff
scene2: db 9, 0x80, 2, 0x3f, 18, 0x30, 23, 0x00, 25, 0x03, 26, 33, 27, 1, 0xff
scene3: db 1, 0x00, 0, 0x00, 2, 0x06, 4, 0x00, 9, 0x00, 18, 0x00, 23, 0x00, 25, 0x00
        db 26, 0, 27, 0, 1, 0x48, 0xff
scene4: db 1, 0x00, 0, 0x0a, 2, 0x3f, 9, 0x0c, 1, 0x40, 0xff
        ds 0x8000 - $, 0xff
