; writes a greeting and halts
        OUT  #16, #0            ; clear
        LD   P, #TEXT
LOOP:   LD   C, [P]
        CMP  C, #0
        JPT  DONE, ZF
        OUT  #17, C
        ADD  P, #1
        JP   LOOP
DONE:   HALT
P:      DW   0
C:      DW   0
TEXT:   DW   'Hello, world\s!', 0
