INC2: MACRO %R
  ADD %R,#2 ; bump %r
  ENDMACRO
START: inc2 X
  HALT
