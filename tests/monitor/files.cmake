# Test sources of the monitor subsystem.
set(QRX_TESTS_MONITOR
  tests/monitor/character_set_test.cpp
  tests/monitor/input_model_test.cpp
  tests/monitor/monitor_ports_test.cpp
  tests/monitor/monitor_state_block_test.cpp
  tests/monitor/screen_model_test.cpp
  tests/monitor/screen_snapshot_test.cpp
)
