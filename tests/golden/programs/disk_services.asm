; A cartridge that calls the four disk driver services of drive A the way a DOS does:
; from RAM, with the disk ROM (slot 3-1) paged into 0x4000-0x7FFF. It then shows, on a
; SCREEN 0 page, the text of sector 5 as read and a hex line per call: the registers each
; service returned and what it left in memory.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

INITXT: equ 0x006c
DSKIO:  equ 0x4010
DSKCHG: equ 0x4013
GETDPB: equ 0x4016
DSKFMT: equ 0x401c
BUFFER: equ 0x9000              ; one sector
RESULT: equ 0x9200              ; what the calls returned, shown in hex
DPB:    equ 0x9300

start:  call INITXT             ; SCREEN 0, name table at 0x0000
        ld hl, code
        ld de, 0xc000
        ld bc, code_end - code
        ldir
        jp 0xc000

code:   ; copied to and run at 0xc000: every label below is used relative to it
        di
        in a, (0xa8)
        ld (0xc800), a          ; the slots to put back
        ld a, (0xffff)
        cpl
        ld (0xc801), a
        ld a, 0xfc              ; page 0 slot 0 (BIOS), pages 1-3 slot 3
        out (0xa8), a
        ld a, 0xa4              ; page 1 slot 3-1 (disk ROM), pages 2-3 slot 3-2 (RAM)
        ld (0xffff), a
        ld ix, RESULT
        ; DSKIO read: sector 5 to BUFFER
        xor a
        ld b, 1
        ld c, 0xf9
        ld de, 5
        ld hl, BUFFER
        call DSKIO
        call 0xc000 + keep - code
        ; DSKIO write: the same bytes to sector 6
        xor a
        ld b, 1
        ld c, 0xf9
        ld de, 6
        ld hl, BUFFER
        scf
        call DSKIO
        call 0xc000 + keep - code
        ; DSKIO read past the last sector (1440 sectors on a 720 KB disk)
        xor a
        ld b, 2
        ld c, 0xf9
        ld de, 1439
        ld hl, DPB + 0x40
        call DSKIO
        call 0xc000 + keep - code
        ; DSKIO on drive B, which is empty
        ld a, 1
        ld b, 1
        ld c, 0xf9
        ld de, 0
        ld hl, DPB + 0x40
        call DSKIO
        call 0xc000 + keep - code
        ; DSKCHG: has the disk in drive A changed?
        xor a
        ld b, 0
        ld c, 0xf9
        ld hl, DPB
        call DSKCHG
        call 0xc000 + keep - code
        ; GETDPB for media 0xf9 into DPB + 1
        xor a
        ld b, 0xf9
        ld c, 0xf9
        ld hl, DPB
        call GETDPB
        call 0xc000 + keep - code
        ; DSKFMT: its answer to a format request
        xor a
        ld d, 0
        ld hl, DPB + 0x40
        ld bc, 0x1000
        call DSKFMT
        call 0xc000 + keep - code
        ld a, (0xc801)          ; the slots as they were
        ld (0xffff), a
        ld a, (0xc800)
        out (0xa8), a
        ; the sector's first 480 bytes as text on rows 0-11
        xor a
        out (0x99), a
        ld a, 0x40
        out (0x99), a
        ld hl, BUFFER
        ld c, 0x98
        ld b, 0
        otir
        ld b, 480 - 256
        otir
        ; rows 13-23: A, F, B, C of each call, then the parameter block in hex
        ld a, 0x08              ; VRAM 0x0208 = row 13, column 0
        out (0x99), a
        ld a, 0x42
        out (0x99), a
        ld hl, RESULT
        ld b, 7 * 4
hexes:  ld a, (hl)
        call 0xc000 + hex - code
        inc hl
        djnz hexes
        ld hl, DPB
        ld b, 20
dpb:    ld a, (hl)
        call 0xc000 + hex - code
        inc hl
        djnz dpb
        ei
idle:   jr idle

keep:   ; A, F, B and C into the next four bytes at IX
        push af
        ld (ix + 0), a
        pop de
        ld (ix + 1), e
        ld (ix + 2), b
        ld (ix + 3), c
        ld de, 4
        add ix, de
        ret

hex:    ; A as two hex digits and a space, through the VDP data port
        push af
        rrca
        rrca
        rrca
        rrca
        call 0xc000 + digit - code
        pop af
        call 0xc000 + digit - code
        ld a, ' '
        out (0x98), a
        ret
digit:  and 0x0f
        add a, '0'
        cp '9' + 1
        jr c, digit_out
        add a, 'A' - '9' - 1
digit_out:
        out (0x98), a
        ret
code_end:
        ds 0x8000 - $, 0xff
