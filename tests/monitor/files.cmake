# Test sources of the monitor subsystem.
set(QRX_TESTS_MONITOR
)
