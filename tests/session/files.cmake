# Test sources of the execution history.
set(QRX_TESTS_SESSION
  tests/session/history_fixture.cpp
  tests/session/input_log_test.cpp
  tests/session/input_log_file_test.cpp
  tests/session/checkpoint_store_test.cpp
  tests/session/execution_history_test.cpp
  tests/session/case_file_test.cpp
  tests/session/screen_match_test.cpp
  tests/session/case_runner_test.cpp
)
