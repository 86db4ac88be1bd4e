# Literals, the label table, macros, the source set, the line and program
# assembler, listing rows and the machine-code file writer (no Qt).
set(QRX_ASSEMBLER_SOURCES
  src/assembler/asm_error_codes.cpp
  src/assembler/asm_line.cpp
  src/assembler/assembly_driver.cpp
  src/assembler/auto_label.cpp
  src/assembler/include_line.cpp
  src/assembler/label_key.cpp
  src/assembler/label_kinds.cpp
  src/assembler/label_table.cpp
  src/assembler/label_view_rows.cpp
  src/assembler/line_encoder.cpp
  src/assembler/line_parser.cpp
  src/assembler/listing_rows.cpp
  src/assembler/listing_text.cpp
  src/assembler/literals.cpp
  src/assembler/machine_code_file.cpp
  src/assembler/machine_loader.cpp
  src/assembler/macro_line_split.cpp
  src/assembler/macro_list.cpp
  src/assembler/macro_prepass.cpp
  src/assembler/memory_image.cpp
  src/assembler/operand_value.cpp
  src/assembler/qrx_assembler.cpp
  src/assembler/source_set.cpp
  src/assembler/text_replace.cpp
)
