; a tight counting loop that never ends
LOOP:   ADD  N, #0FFFFh
        CMP  N, #0
        JPF  LOOP, ZF
        JP   LOOP
N:      DW   0
