; A 128 KB cartridge for every mapper type: each 8 KB bank ends with its own number. From
; RAM it writes a bank number 1-7 (banks every mapper has) to each address below in turn,
; each a bank register of some mapper, a mirror of one, or an address a mapper ignores;
; every value differs from what its window showed before, so each write that switches
; shows. After each write it shows on a SCREEN 0 page the address and the last byte of
; the four windows 4000, 6000, 8000 and A000: the banks they show. The first row is before
; any write (00 01 02 03).
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

INITXT: equ 0x006c
CODE:   equ 0xc000

start:  call INITXT
        ld hl, code
        ld de, CODE
        ld bc, code_end - code
        ldir
        jp CODE

code:   ; run at CODE, so the windows may change under the cartridge's own code
        di
        in a, (0xa8)            ; page 2 to the cartridge's slot as well
        ld b, a
        and 0x0c
        rlca
        rlca
        ld c, a
        ld a, b
        and 0xcf
        or c
        out (0xa8), a
        xor a                   ; name table at 0
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld hl, 0
        call CODE + show - code
        ld ix, CODE + addresses - code
next:   ld l, (ix + 0)
        ld h, (ix + 1)
        ld a, h
        or l
        jr z, done
        ld a, (ix + 2)
        ld (hl), a
        call CODE + show - code
        ld de, 3
        add ix, de
        jr next
done:   ei
idle:   jr idle

show:   ; HL, then the four windows' bank bytes, one 40-column row
        ld a, h
        call CODE + hex - code
        ld a, l
        call CODE + hex - code
        ld a, ':'
        out (0x98), a
        ld a, (0x5fff)
        call CODE + hexsp - code
        ld a, (0x7fff)
        call CODE + hexsp - code
        ld a, (0x9fff)
        call CODE + hexsp - code
        ld a, (0xbfff)
        call CODE + hexsp - code
        ld b, 40 - 17           ; the rest of the row
pad:    ld a, ' '
        out (0x98), a
        djnz pad
        ret

hexsp:  push af
        ld a, ' '
        out (0x98), a
        pop af
hex:    push af
        rrca
        rrca
        rrca
        rrca
        call CODE + digit - code
        pop af
digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        out (0x98), a
        ret

addresses:                      ; address, bank
        dw 0x4000
        db 5
        dw 0x5000
        db 6
        dw 0x6000
        db 7
        dw 0x6800
        db 4
        dw 0x7000
        db 5
        dw 0x7800
        db 6
        dw 0x8000
        db 7
        dw 0x9000
        db 4
        dw 0x9800
        db 5
        dw 0xa000
        db 6
        dw 0xb000
        db 7
        dw 0xb800
        db 1
        dw 0x5fff
        db 2
        dw 0x77ff
        db 3
        dw 0x4800
        db 4
        dw 0
code_end:

        ds 0x5fff - $, 0xff
        db 0
        ; banks 1 to 15, each 8 KB ending with its number
        ds 0x1fff, 0xff
        db 1
        ds 0x1fff, 0xff
        db 2
        ds 0x1fff, 0xff
        db 3
        ds 0x1fff, 0xff
        db 4
        ds 0x1fff, 0xff
        db 5
        ds 0x1fff, 0xff
        db 6
        ds 0x1fff, 0xff
        db 7
        ds 0x1fff, 0xff
        db 8
        ds 0x1fff, 0xff
        db 9
        ds 0x1fff, 0xff
        db 10
        ds 0x1fff, 0xff
        db 11
        ds 0x1fff, 0xff
        db 12
        ds 0x1fff, 0xff
        db 13
        ds 0x1fff, 0xff
        db 14
        ds 0x1fff, 0xff
        db 15
