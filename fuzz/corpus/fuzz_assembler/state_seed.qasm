; a small program for the state-file seed: units, a macro, screen output
        USES IO
PUTC:   MACRO %C, ?DONE
        CMP  %C, #0
        JPT  ?DONE, ZF
        OUT  #17, %C
?DONE:
        ENDMACRO
START:  OUT  #35, #255          ; red text
        OUT  #41, #1            ; downwards
        PUTC CH
        CALL SHOW.IO
        OUT  #18, #1
        HALT
IO:     UNIT
SHOW:   PROC
        LD   P, #TEXT
LOOP:   LD   C, [P]
        CMP  C, #0
        JPT  DONE, ZF
        OUT  #17, C
        ADD  P, #1
        JP   LOOP
DONE:   RET
        ENDPROC
P:      DW   0
C:      DW   0
TEXT:   DW   'QRX', 0
CH:     DW   'Q'
        ENDUNIT
