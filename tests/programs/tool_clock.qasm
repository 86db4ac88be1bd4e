; reads the timer (1 ms units) and the frame counter until 40 ms have
; passed; at each new timer value writes a * at row FRAME, column TIMER mod 64
        OUT  #768, #1
        OUT  #21, #0
LOOP:   IN   T, #768
        IN   F, #21
        ADD  N, #1
        CMP  T, LAST
        JPT  LOOP, ZF
        LD   LAST, T
        OUT  #33, F
        LD   C, T
        AND  C, #63
        OUT  #34, C
        OUT  #17, #2Ah
        CMP  T, #40
        JPT  LOOP, CF
        HALT
T:      DW   0
F:      DW   0
N:      DW   0
LAST:   DW   0
C:      DW   0
