; writes the letters A to Z over and over at the write position, forever
LOOP:   OUT  #17, CH
        ADD  CH, #1
        CMP  CH, #5Bh
        JPT  LOOP, CF
        LD   CH, #41h
        JP   LOOP
CH:     DW   41h
