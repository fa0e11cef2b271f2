; A 16 KB stand-in for the FM BIOS, which C-BIOS lacks: the MSX-MUSIC signature
; "APRLOPLL" at 4018h and a WRTOPL at 4110h (A = register, E = data) that writes the
; OPLL's ports; every other byte is RET, so the other entries return at once. With it the
; 240p test suite's MDFourier run plays FM.
        org 0x4000
        ds 0x18, 0xc9
        db "APRLOPLL"
        ds 0x4110 - $, 0xc9
        jp wrtopl
        ds 0x4200 - $, 0xc9
wrtopl: out (0x7c), a
        push af
        ld a, e
        out (0x7d), a
        pop af
        ret
        ds 0x8000 - $, 0xc9
