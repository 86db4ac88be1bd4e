L:	LD	X,#1
X:	DW	0Y:  DW 1
ï»¿‚ :   DW 1
  DW  ‚ \, ‚ $
        HALT