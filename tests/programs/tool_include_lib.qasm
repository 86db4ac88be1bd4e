LIB:    DW   1
        BAD  1
