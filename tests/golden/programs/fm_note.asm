; A cartridge that plays one FM note by writing the OPLL's ports itself (C-BIOS's music
; ROM has no FM BIOS): channel 0 with instrument 3 at full volume (30h = 30), F-number
; ABh (10h), block 4 and key on (20h = 18), then it spins. The MIDI translation gives
; program 3 (C0 03), volume 127 (B0 0B 7F), note 59 with a bend of 8857 (12 log2(171 / 9)
; + 48 - 39 = 59.975) and the note on: E0 19 45, 90 3B 7F.
        org 0x4000
        db "AB"
        dw start
        ds 12, 0

start:  di
        ld a, 0x30
        out (0x7c), a
        ld a, 0x30
        out (0x7d), a
        ld a, 0x10
        out (0x7c), a
        ld a, 0xab
        out (0x7d), a
        ld a, 0x20
        out (0x7c), a
        ld a, 0x18
        out (0x7d), a
spin:   jr spin
        ds 0x8000 - $, 0xff
