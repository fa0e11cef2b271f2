; What the instruction exercisers leave out, as a CP/M program: the flags of LD A,I and
; LD A,R (P/V is IFF2), of IN r,(C), the block I/O group with its counts and pointers,
; and flag bits 5 and 3. Each line prints the bytes named after it in hex. Until the last
; line only the documented flag bits are printed: S Z H P/V N C (mask D7), for the block
; I/O group Z N C (mask 43); the carry is set or cleared by hand before each instruction
; that must keep it. The last line prints A and the whole of F.
; Port A8 (the primary slot register, every page on slot 3) reads FF; port 2E is free.
        org 0x100
BDOS:   equ 5

        ; LD A,I: I = 0 with interrupts off and carry set, then I = 80 with them on
        di
        xor a
        ld i, a
        scf
        ld a, i
        call flags              ; "41": Z, P/V = IFF2 = 0, C kept
        ei
        ld a, 0x80
        ld i, a
        or a
        ld a, i
        call flags              ; "84": S, P/V = IFF2 = 1
        di
        ; LD A,R: only H, P/V, N and C are fixed
        scf
        ld a, r
        push af
        pop bc
        ld a, c
        and 0x17
        call hex                ; "01"
        ei
        or a
        ld a, r
        push af
        pop bc
        ld a, c
        and 0x17
        call hex                ; "04"
        di
        call newline
        ; IN r,(C): FF into B with carry set, into E with carry clear
        ld c, 0xa8
        scf
        in b, (c)
        push af
        ld a, b
        call hex                ; "FF"
        pop af
        call flags              ; "85": S, P/V (even parity), C kept
        or a
        in e, (c)
        call flags              ; "84"
        call newline
        ; INI twice from A8 at 9000 with carry set: B 2 -> 1 -> 0
        ld hl, 0x9000
        ld bc, 0x02a8
        scf
        ini
        call io_flags           ; "03": N, C kept
        scf
        ini
        call io_flags           ; "43": Z on the last
        call pointers           ; "00 02 FF": B, L, the byte read
        ; IND from 9010 down, once; INIR three times from 9020; INDR twice from 9031
        ld hl, 0x9010
        ld b, 1
        or a
        ind
        call io_flags           ; "42"
        call pointers           ; "00 0F FF"
        ld hl, 0x9020
        ld b, 3
        or a
        inir
        call io_flags           ; "42"
        call pointers           ; "00 23 FF"
        ld hl, 0x9031
        ld b, 2
        or a
        indr
        call io_flags           ; "42"
        call pointers           ; "00 2F FF"
        call newline
        ; OUTI, OUTD, OTIR, OTDR to the free port 2E
        ld c, 0x2e
        ld hl, 0x9000
        ld b, 2
        or a
        outi
        call io_flags           ; "02"
        call pointers           ; "01 01 FF"
        ld b, 1
        scf
        outd
        call io_flags           ; "43"
        call pointers           ; "00 00 FF"
        ld b, 4
        or a
        otir
        call io_flags           ; "42"
        call pointers           ; "00 04 FF"
        ld b, 3
        or a
        otdr
        call io_flags           ; "42"
        call pointers           ; "00 01 FF"
        call newline
        ; Bits 5 and 3 of F (28h) never come from a result here: ADD A,1 on 27h leaves them
        ; clear; CPL, SCF and CCF keep them as they were. A and F after each:
        ld bc, 0x2700
        push bc
        pop af
        add a, 1
        call af_hex             ; "28 00"
        ld bc, 0x5a29
        push bc
        pop af
        cpl
        call af_hex             ; "A5 3B": H and N set
        ld bc, 0x003a
        push bc
        pop af
        scf
        call af_hex             ; "00 29": H and N cleared
        ld bc, 0x0029
        push bc
        pop af
        ccf
        call af_hex             ; "00 38": H takes the old carry
        call newline
        jp 0

af_hex: push af
        pop bc
        call hex
        ld a, c
        jr hex

flags:  ; F AND D7, then a space
        push af
        pop bc
        ld a, c
        and 0xd7
        jr hex
io_flags:
        push af
        pop de
        ld a, e
        and 0x43
        jr hex
pointers: ; B, L and the byte at 9000
        push hl
        push bc
        ld a, b
        call hex
        ld a, l
        call hex
        ld a, (0x9000)
        call hex
        pop bc
        pop hl
        ret
hex:    ; A as two hex digits and a space; keeps BC, DE and HL
        push hl
        push de
        push bc
        push af
        rrca
        rrca
        rrca
        rrca
        call digit
        pop af
        call digit
        ld e, ' '
        call putc
        pop bc
        pop de
        pop hl
        ret
digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        ld e, a
putc:   ld c, 2
        jp BDOS
newline:
        ld e, 13
        call putc
        ld e, 10
        jr putc
