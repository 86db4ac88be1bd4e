# Test sources of the persistence subsystem.
set(QRX_TESTS_PERSISTENCE
)
