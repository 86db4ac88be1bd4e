INCLUDE gone.inc
