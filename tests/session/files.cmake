# Test sources of the execution history.
set(QRX_TESTS_SESSION
  tests/session/input_log_test.cpp
  tests/session/input_log_file_test.cpp
)
