; macros with value and label parameters
PUTC:   MACRO %CH, ?SKIP
        CMP  %CH, #0
        JPT  ?SKIP, ZF
        OUT  #17, %CH          ; writes %CH
?SKIP:
        ENDMACRO
SWAP:   macro %A, %B
        PUSH %A
        PUSH %B
        POP  %A
        POP  %B
        endmacro
        PUTC X
        putc #41h
        SWAP X, Y
        PUTC
BAD     MACRO %Q
        ENDMACRO
        HALT
X:      DW   65
Y:      DW   66
