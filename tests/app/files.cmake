# End-to-end tests of the qrx command-line tool.
set(QRX_TESTS_APP
  tests/app/tool_asm_test.cpp
  tests/app/tool_test_command_test.cpp
  tests/app/tool_run_test.cpp
  tests/app/tool_history_test.cpp
  tests/app/tool_options_test.cpp
  tests/app/samples_test.cpp
  tests/app/tool_diagnostics_test.cpp
  tests/app/help_examples_test.cpp
)
