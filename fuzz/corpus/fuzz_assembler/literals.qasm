; literals, EQU, numeric labels, DW strings and offsets
K1      EQU  10h
K2      equ  1010b
#K3     EQU  'A'$
K4:     EQU  $FF
K5      EQU  0x7FFF
K6      EQU  -1
K7      EQU
        LD   W, #K1
        LD   W+1, #K3
        LD   W+2, @K2
        LD   [PTR], #-5
        LD   W, [PTR+1]
        ADD  W, #AB$
        SUB  W, #\n
        XOR  W, #1111111111111111b
        SL   W
        SR   W
        NEG  W
        NOT  W
        OR   W, #0Ah
        AND  W, #0FFh
        BIT  W, #1
        IN   W, #768
        PROGRAM W
0100h:
W:      DW   1, 2, 3, 'x,y z', '\q', 'か', ';', 'A:B'
PTR:    DW   W
80h:
0200h:  DW   -1
        JP   ^FAR
^FAR:   HALT
>LINE:  NOP
