# The machine alone: memory, decoding, Step, the opcode table and the
# machine's stream (no Qt).
set(QRX_MACHINE_SOURCES
  src/machine/machine.cpp
  src/machine/machine_stream.cpp
  src/machine/step.cpp
)
