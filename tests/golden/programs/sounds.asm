; A cartridge that plays a fixed score on the PSG and the OPLL, with 20 frames between
; steps, for the WAV and MIDI captures:
;   PSG: channel A a tone of period 0xA00 (coarse bit 3), B noise alone, C the triangle
;        envelope, restarted by a second write of the same shape; then the decay shape,
;        A louder and higher, and the mixer's noise moved to A;
;   OPLL: channel 0 keys a note in block 4, moves it to block 6 while keyed (a new note)
;        and off; channel 1 plays block 7 on instrument 5 at volume 5; then rhythm mode
;        strikes the hi-hat (volume 3) and the snare (volume 10), then the bass drum.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

start:  di
        ld hl, score
step:   ld a, (hl)
        inc hl
        cp 0xff                 ; end of the score
        jr z, done
        cp 0xfe                 ; wait 20 frames
        jr z, pause
        ld c, (hl)              ; port A0 or 7C, then the register and its value
        inc hl
        out (c), a
        inc c
        ld a, (hl)
        inc hl
        out (c), a
        jr step
pause:  ei
        ld b, 20
wait:   halt
        djnz wait
        di
        jr step
done:   ei
idle:   halt
        jr idle

; register, port, value; FE waits, FF ends
score:  db 0, 0xa0, 0x00, 1, 0xa0, 0x0a          ; A: period 0xA00
        db 2, 0xa0, 0x80, 3, 0xa0, 0x00          ; B: tone period 0x080 (its tone off)
        db 4, 0xa0, 0x40, 5, 0xa0, 0x01          ; C: period 0x140
        db 6, 0xa0, 0x0f                          ; noise period 15
        db 7, 0xa0, 0xaa                          ; tone A and C, noise B; port B output
        db 8, 0xa0, 0x0c, 9, 0xa0, 0x0a, 10, 0xa0, 0x10
        db 11, 0xa0, 0x00, 12, 0xa0, 0x04, 13, 0xa0, 0x0e
        db 0xfe
        db 13, 0xa0, 0x0e                         ; the same shape again: a restart
        db 0xfe
        db 13, 0xa0, 0x09                         ; decay, then silence
        db 8, 0xa0, 0x0f, 1, 0xa0, 0x02
        db 7, 0xa0, 0xb2                          ; tone A and C, noise A
        db 0xfe
        db 0x30, 0x7c, 0x30                       ; OPLL channel 0: instrument 3, volume 0
        db 0x10, 0x7c, 0x20, 0x20, 0x7c, 0x19     ; F-number 0x120, block 4, key on
        db 0xfe
        db 0x20, 0x7c, 0x1d                       ; block 6, still keyed
        db 0xfe
        db 0x20, 0x7c, 0x0d                       ; key off
        db 0x31, 0x7c, 0x55                       ; channel 1: instrument 5, volume 5
        db 0x11, 0x7c, 0x20, 0x21, 0x7c, 0x1f     ; F-number 0x120, block 7, key on
        db 0xfe
        db 0x21, 0x7c, 0x0f                       ; key off
        db 0x36, 0x7c, 0x04, 0x37, 0x7c, 0x3a, 0x38, 0x7c, 0x77
        db 0x0e, 0x7c, 0x29                       ; rhythm: snare and hi-hat
        db 0xfe
        db 0x0e, 0x7c, 0x30                       ; bass drum alone
        db 0xfe
        db 0x0e, 0x7c, 0x00
        db 8, 0xa0, 0x00, 9, 0xa0, 0x00, 10, 0xa0, 0x00
        db 0xff
        ds 0x6000 - $, 0xff
