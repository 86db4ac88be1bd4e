# The program session (load, state file, loader), load and run messages, run
# control, the execution history (input log and its file, checkpoints, the
# port device that records and replays, going back), and the grader that
# checks programs against case files on it (no Qt).
set(QRX_SESSION_SOURCES
  src/session/checkpoint.cpp
  src/session/checkpoint_store.cpp
  src/session/execution_history.cpp
  src/session/history_port_device.cpp
  src/session/input_log.cpp
  src/session/input_log_file.cpp
  src/session/load_message.cpp
  src/session/load_result.cpp
  src/session/program_session.cpp
  src/session/run_control.cpp
  src/session/run_report.cpp
  src/session/state_file.cpp
  src/session/json_tree.cpp
  src/session/key_names.cpp
  src/session/case_value_reader.cpp
  src/session/case_input_reader.cpp
  src/session/case_expect_reader.cpp
  src/session/case_file.cpp
  src/session/screen_match.cpp
  src/session/case_result.cpp
  src/session/case_checks.cpp
  src/session/scripted_key_device.cpp
  src/session/case_runner.cpp
  src/session/grading_run.cpp
  src/session/grading_report.cpp
)
