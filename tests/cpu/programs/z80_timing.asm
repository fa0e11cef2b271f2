; Straight-line code whose T-states are summed by hand from the Zilog data sheet (the
; number after each instruction; conditional ones as they go here). cpm-run --stats
; reports the emulated total, which must equal the sum: one wrong entry in any of the
; instruction tables these cover shows as a different total. Memory work stays in 9000-
; 90FF; ports A8 (read) and 2E (free) only. Where this machine's timing departs from
; the chip on purpose, its own count is given: DJNZ costs 8 whether it jumps or not (the
; chip: 13 when it jumps), and an IX/IY half-register instruction costs its prefixed
; table entry alone (LD B,IXh 9, the chip 8; LD IYl,n 9, the chip 11).
        org 0x100
        ld sp, 0xf000           ; 10
        ld hl, 0x9000           ; 10
        ld de, 0x9080           ; 10
        ld bc, 0x0003           ; 10
        ld ix, 0x9040           ; 14
        ld iy, 0x9060           ; 14
        ; main group
        nop                     ; 4
        ld a, 0x12              ; 7
        ld (hl), 0x34           ; 10
        ld b, (hl)              ; 7
        ld (hl), b              ; 7
        ld a, (bc)              ; 7
        ld (de), a              ; 7
        ld a, (0x9001)          ; 13
        ld (0x9002), a          ; 13
        ld hl, (0x9000)         ; 16
        ld (0x9004), hl         ; 16
        ld hl, 0x9000           ; 10
        inc bc                  ; 6
        dec bc                  ; 6
        inc (hl)                ; 11
        dec (hl)                ; 11
        add hl, bc              ; 11
        ld hl, 0x9000           ; 10
        add a, (hl)             ; 7
        sub 3                   ; 7
        cp b                    ; 4
        daa                     ; 4
        cpl                     ; 4
        scf                     ; 4
        ccf                     ; 4
        rlca                    ; 4
        rra                     ; 4
        ex af, af'              ; 4
        exx                     ; 4
        exx                     ; 4
        ex de, hl               ; 4
        ex de, hl               ; 4
        push bc                 ; 11
        ex (sp), hl             ; 19
        ex (sp), hl             ; 19
        pop bc                  ; 10
        ld sp, hl               ; 6
        ld sp, 0xf000           ; 10
        in a, (0xa8)            ; 11
        out (0x2e), a           ; 11
        xor a                   ; 4
        jr z, j1                ; 12 (taken)
        nop
j1:     jr nz, j1               ; 7 (not taken)
        jp nz, j1               ; 10 (not taken)
        jp z, j2                ; 10 (taken)
        nop
j2:     call sub1               ; 17 + 5 + 10 (in sub1 ret nz not taken, ret)
        call nz, sub1           ; 10 (not taken)
        call z, sub2            ; 17 + 11 (ret z taken)
        ld b, 2                 ; 7
j3:     djnz j3                 ; 8 + 8 (taken, then not: see the top)
        ld hl, j4               ; 10
        jp (hl)                 ; 4
j4:     ld hl, 0x9000           ; 10
        ; CB group
        rlc b                   ; 8
        srl a                   ; 8
        bit 3, a                ; 8
        set 7, a                ; 8
        res 7, a                ; 8
        rlc (hl)                ; 15
        bit 0, (hl)             ; 12
        set 1, (hl)             ; 15
        db 0xcb, 0x31           ; 8 (sll c, undocumented)
        ; ED group
        neg                     ; 8
        im 1                    ; 8
        ld i, a                 ; 9
        ld a, i                 ; 9
        ld a, r                 ; 9
        ld r, a                 ; 9
        adc hl, bc              ; 15
        sbc hl, de              ; 15
        ld hl, 0x9000           ; 10
        ld (0x9010), bc         ; 20
        ld de, (0x9010)         ; 20
        rrd                     ; 18
        rld                     ; 18
        ld c, 0xa8              ; 7
        in d, (c)               ; 12
        ld c, 0x2e              ; 7
        out (c), d              ; 12
        ld de, 0x9080           ; 10
        ld bc, 0x0003           ; 10
        ldi                     ; 16
        ldd                     ; 16
        ld bc, 0x0003           ; 10
        ldir                    ; 21 + 21 + 16
        ld bc, 0x0002           ; 10
        lddr                    ; 21 + 16
        ld hl, 0x9000           ; 10
        ld bc, 0x0003           ; 10
        ld a, 0x55              ; 7
        cpi                     ; 16
        cpir                    ; 21 + 16 (BC 2 to 0, nothing matches 55)
        ld hl, 0x9000           ; 10
        ld bc, 0x02a8           ; 10
        ini                     ; 16
        inir                    ; 16 (B 1 to 0)
        ld bc, 0x032e           ; 10
        otdr                    ; 21 + 21 + 16
        ld b, 1                 ; 7
        outi                    ; 16
        ld hl, reti1            ; 10
        push hl                 ; 11
        reti                    ; 14
reti1:  ld hl, retn1            ; 10
        push hl                 ; 11
        retn                    ; 14
retn1:  ; DD/FD group
        ld a, (ix + 2)          ; 19
        ld (iy - 1), a          ; 19
        ld (ix + 3), 0x44       ; 19
        inc (ix + 3)            ; 23
        add a, (iy + 1)         ; 19
        add ix, bc              ; 15
        inc ix                  ; 10
        dec iy                  ; 10
        ld (0x9012), ix         ; 20
        ld iy, (0x9012)         ; 20
        push ix                 ; 15
        pop iy                  ; 14
        ex (sp), ix             ; 23 (on the word under SP, put back below)
        ex (sp), ix             ; 23
        ld b, ixh               ; 9 (see the top)
        ld iyl, 5               ; 9 (see the top)
        ld sp, iy               ; 10
        ld sp, 0xf000           ; 10
        ld ix, 0x9040           ; 14
        rlc (ix + 1)            ; 23
        bit 2, (ix + 1)         ; 20
        set 4, (iy + 0)         ; 23
        ld hl, done             ; 10
        push hl                 ; 11
        pop ix                  ; 14
        jp (ix)                 ; 8
done:   jp 0                    ; 10

sub1:   ret nz                  ; see the call
        ret
sub2:   ret z
