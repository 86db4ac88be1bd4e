# Test sources of the machine subsystem.
set(QRX_TESTS_MACHINE
  tests/machine/machine_state_test.cpp
  tests/machine/machine_stream_test.cpp
  tests/machine/step_flags_test.cpp
  tests/machine/step_operand_test.cpp
  tests/machine/step_flow_test.cpp
  tests/machine/step_model_test.cpp
)
