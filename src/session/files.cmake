# The program session (load, state file, loader), load and run messages,
# run control, and the execution history with its input log (no Qt).
set(QRX_SESSION_SOURCES
  src/session/checkpoint.cpp
  src/session/checkpoint_store.cpp
  src/session/execution_history.cpp
  src/session/history_port_device.cpp
  src/session/input_log.cpp
  src/session/input_log_file.cpp
  src/session/load_message.cpp
  src/session/program_session.cpp
  src/session/run_control.cpp
  src/session/run_report.cpp
  src/session/state_file.cpp
)
