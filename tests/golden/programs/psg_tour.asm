; A cartridge that plays the PSG's voices one after another on channel A, each for 100
; frames (counted on the VDP's frame flag with interrupts off), then the triangle
; envelope until the run ends. What a listener hears, 20 dB below full scale with the
; shipped attenuation (level 15 = 32512 / 10 = 3251):
;   1. tone period 1FEh: 1789772.5 / 16 / 510 = 219.3 Hz, a square wave of +-3251;
;   2. noise alone (R6 = 1Fh): two levels, half-waves of 1 to 33 samples;
;   3. tone and noise together: four levels;
;   4. both switched off in the mixer, then 5. volume 0: silence;
;   6. shape 14 (/\/\) with period 6251h, a ramp of 60 envelope steps, 3 a frame: the
;      level rises and falls every 40 frames.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

start:  di
        ld hl, tour
next:   ld b, (hl)              ; register pairs in this part; 0 ends the tour
        inc hl
        ld a, b
        or a
        jr z, spin
write:  ld a, (hl)
        out (0xa0), a
        inc hl
        ld a, (hl)
        out (0xa1), a
        inc hl
        djnz write
        ld b, 100
frames: in a, (0x99)            ; S#0: bit 7 is set once a frame and cleared by the read
        and a
        jp p, frames
        djnz frames
        jr next
spin:   jr spin

tour:   db 4, 0, 0xfe, 1, 0x01, 7, 0xbe, 8, 0x0f
        db 2, 6, 0x1f, 7, 0xb7
        db 1, 7, 0xb6
        db 1, 7, 0xbf
        db 2, 7, 0xbe, 8, 0x00
        db 5, 8, 0x10, 11, 0x51, 12, 0x62, 13, 0x0e, 7, 0xbe
        db 0
        ds 0x8000 - $, 0xff
