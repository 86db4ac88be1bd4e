# Test sources of the session layer.
set(QRX_TESTS_SESSION
  tests/session/history_fixture.cpp
  tests/session/input_log_test.cpp
  tests/session/input_log_file_test.cpp
  tests/session/checkpoint_store_test.cpp
  tests/session/execution_history_test.cpp
  tests/session/state_file_test.cpp
  tests/session/program_session_test.cpp
  tests/session/run_report_test.cpp
  tests/session/run_control_test.cpp
  tests/session/run_control_history_test.cpp
  tests/session/case_file_test.cpp
  tests/session/screen_match_test.cpp
  tests/session/case_runner_test.cpp
)
