; two errors
START:  LD   X, #1
        FOO
        HALT
        JP   NOWHERE
X:      DW   0
