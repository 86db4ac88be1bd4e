# Test sources of the assembler subsystem.
set(QRX_TESTS_ASSEMBLER
  tests/assembler/asm_line_test.cpp
  tests/assembler/label_lookup_test.cpp
  tests/assembler/label_table_test.cpp
  tests/assembler/line_encoder_test.cpp
  tests/assembler/line_parser_test.cpp
  tests/assembler/literals_test.cpp
  tests/assembler/file_stamp_test.cpp
  tests/assembler/file_set_test.cpp
  tests/assembler/macro_expand_test.cpp
  tests/assembler/macro_line_split_test.cpp
  tests/assembler/macro_prepass_reference_test.cpp
  tests/assembler/macro_prepass_test.cpp
  tests/assembler/include_line_test.cpp
  tests/assembler/source_set_test.cpp
)
