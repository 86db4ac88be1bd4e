# Test sources of the machine subsystem.
set(QRX_TESTS_MACHINE
)
