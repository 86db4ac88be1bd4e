        USES MATH
START:  LD   X, #TWO
        HALT
X:      DW   0, 'AB'
#K      EQU  7
MATH:   UNIT
TWO:    DW   2
        ENDUNIT
