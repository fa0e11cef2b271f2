; A cartridge that reads the keyboard matrix itself every frame and shows, on row 0 of a
; SCREEN 0 page, rows 0-8 of the matrix ANDed over all frames so far: a 0 bit is a key
; the machine saw pressed at some time (row 0 bit 1 is "1", row 2 bit 6 is "A").
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

INITXT: equ 0x006c
SEEN:   equ 0xc000                  ; nine rows

start:  call INITXT
        di
        ld hl, SEEN
        ld b, 9
clear:  ld (hl), 0xff
        inc hl
        djnz clear
frame:  in a, (0x99)                ; wait for the frame flag
        rlca
        jr nc, frame
        ld hl, SEEN
        ld c, 0
row:    in a, (0xaa)                ; PPI port C: the row in bits 0-3
        and 0xf0
        or c
        out (0xaa), a
        in a, (0xa9)
        and (hl)
        ld (hl), a
        inc hl
        inc c
        ld a, c
        cp 9
        jr nz, row
        xor a                       ; show the nine bytes at VRAM 0
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld hl, SEEN
        ld b, 9
show:   ld a, (hl)
        rrca
        rrca
        rrca
        rrca
        call digit
        ld a, (hl)
        call digit
        ld a, ' '
        out (0x98), a
        inc hl
        djnz show
        jr frame

digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        out (0x98), a
        ret
        ds 0x6000 - $, 0xff
