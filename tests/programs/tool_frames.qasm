; waits until the monitor has counted three frames, then halts
        OUT  #21, #0
WAIT:   IN   F, #21
        CMP  F, #3
        JPT  WAIT, CF
        HALT
F:      DW   0
