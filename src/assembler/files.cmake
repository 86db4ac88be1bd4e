set(QRX_ASSEMBLER_SOURCES
  src/assembler/asm_error_codes.cpp
  src/assembler/asm_line.cpp
  src/assembler/auto_label.cpp
  src/assembler/line_encoder.cpp
  src/assembler/line_parser.cpp
  src/assembler/literals.cpp
)
