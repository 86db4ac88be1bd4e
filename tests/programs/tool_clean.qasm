; counts down from 3 and halts
START:  LD   N, #3      ;* the counter
LOOP:   SUB  N, #1
        CMP  N, #0
        JPF  LOOP, ZF
        HALT
N:      DW   0
