; every kind of error a line can hold
        FOO  A
        NOP  5
        LD   A
        DW
        LD   X, UNDEFINED
        LD   #1, X
        JP   #X
        LD   X, [PC]
        LD   X, [#X]
        LD   X, K
        LD   X, @K
#K      EQU  3
X:      DW   0
X:      DW   1
A-B:    DW   2
BAD     EQU  12G
LONG    EQU  10000000000000001b
50:
10:
        ENDPROC
        ENDUNIT
        PROC
INNER:  UNIT
        ENDUNIT
        UNIT
        ENDMACRO
Q:      MACRO %A, B
        ENDMACRO
        DW   'open
        LD   X,,X
        LD   X, ,X
