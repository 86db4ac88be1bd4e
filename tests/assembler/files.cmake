# Test sources of the assembler subsystem.
set(QRX_TESTS_ASSEMBLER
  tests/assembler/asm_line_test.cpp
  tests/assembler/line_encoder_test.cpp
  tests/assembler/line_parser_test.cpp
  tests/assembler/literals_test.cpp
)
