; A cartridge that takes the VDP's frame interrupt in each interrupt mode and counts a
; timed loop between two of them. It shows on a SCREEN 0 page, in hex:
;   row 0: interrupts taken in 8 HALTs under IM 2, IM 1 and IM 0 (08 08 08);
;   row 1: loop passes in one frame, high byte first.
; The loop is INC DE (6), LD A,(nn) (13), OR A (4), JR Z (12 taken) = 35 T-states. This
; machine's frame is 256 lines of 228 T-states, 58368, of which the interrupt's entry
; and handler take 122 and the start 27; so 1665 or 1666 passes (0681 or 0682) fit,
; depending on where in the loop the interrupt lands. A wrong count for any of these
; instructions moves this by tens.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

INITXT: equ 0x006c
HTIMI:  equ 0xfd9f
COUNT:  equ 0xc000              ; interrupts counted by the handlers
FLAG:   equ 0xc001              ; set by the IM 2 handler
MODE:   equ 0xc002              ; how many modes count8 has done
RESULT: equ 0xc010
TABLE:  equ 0xc100              ; 257 bytes of C3: any bus byte gives vector C3C3
VECTOR: equ 0xc3c3

start:  call INITXT
        di
        ld ix, RESULT
        xor a
        ld (MODE), a
        ; IM 2: the table, a jump at C3C3 to our handler
        ld hl, TABLE
        ld (hl), 0xc3
        ld de, TABLE + 1
        ld bc, 256
        ldir
        ld a, 0xc3
        ld (VECTOR), a
        ld hl, im2_handler
        ld (VECTOR + 1), hl
        ld a, TABLE >> 8
        ld i, a
        im 2
        call count8
        ; IM 1 and IM 0 go through the BIOS at 0038, which calls the H.TIMI hook
        ld a, 0xc3
        ld (HTIMI), a
        ld hl, hook
        ld (HTIMI + 1), hl
        im 1
        call count8
        im 0                    ; the MSX bus answers FF: RST 38
        call count8
        ld a, 0xc9
        ld (HTIMI), a
        ; the timed loop under IM 2: wait for one interrupt, then count to the next
        im 2
        xor a
        ld (FLAG), a
        ei
        halt
        xor a
        ld (FLAG), a
        ld de, 0
loop:   inc de
        ld a, (FLAG)
        or a
        jr z, loop
        di
        ld (ix + 3), d
        ld (ix + 4), e
        im 1
        ; show the results
        xor a
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld hl, RESULT
        ld b, 3
        call hexes
        ld a, 40                ; row 1
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld b, 2
        call hexes
        ei
idle:   jr idle

count8: ; eight HALTs with interrupts on; the count goes to RESULT + 0, 1, 2 in turn
        xor a
        ld (COUNT), a
        ei
        ld b, 8
wait:   halt
        djnz wait
        di
        ld hl, MODE
        ld c, (hl)
        inc (hl)
        ld b, 0
        ld hl, RESULT
        add hl, bc
        ld a, (COUNT)
        ld (hl), a
        ret

im2_handler:
        push af
        in a, (0x99)            ; read S#0: the VDP drops its request
        ld a, (COUNT)
        inc a
        ld (COUNT), a
        ld (FLAG), a
        pop af
        ei
        reti

hook:   ld a, (COUNT)           ; the BIOS has saved the registers and read S#0
        inc a
        ld (COUNT), a
        ret

hexes:  ld a, (hl)
        push af
        rrca
        rrca
        rrca
        rrca
        call digit
        pop af
        call digit
        ld a, ' '
        out (0x98), a
        inc hl
        djnz hexes
        ret
digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        out (0x98), a
        ret
        ds 0x8000 - $, 0xff
