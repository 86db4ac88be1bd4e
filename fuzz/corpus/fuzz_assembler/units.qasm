; units, USES, procedures and qualified names
        USES MATH, SCREEN
START:  LD   N, #TEN
        CALL DOUBLE
        CALL SHOW.SCREEN
        HALT
N:      DW   0
MATH:   UNIT
#TEN    EQU  10
DOUBLE: PROC
        ADD  N, N
LOOP:   JPF  LOOP, ZF
        RET
        ENDPROC DOUBLE
        PROC
        RET
        ENDPROC
        ENDUNIT
SCREEN: UNIT
        USES MATH
SHOW:   PROC
        OUT  #17, N
        JP   LOOP.DOUBLE
        RET
        ENDPROC
        ENDUNIT
