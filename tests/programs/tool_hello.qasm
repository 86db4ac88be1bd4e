; writes a greeting through port 17, then a Z at row 2, column 4
        LD   P, #MSG
NEXT:   LD   C, [P]
        CMP  C, #0
        JPT  DONE, ZF
        OUT  #17, C
        ADD  P, #1
        JP   NEXT
DONE:   OUT  #33, #2
        OUT  #34, #4
        OUT  #17, #5Ah
        HALT
P:      DW   0
C:      DW   0
MSG:    DW   'Hi あ', 0
