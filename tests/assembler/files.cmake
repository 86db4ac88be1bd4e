# Test sources of the assembler subsystem.
set(QRX_TESTS_ASSEMBLER
)
