# The execution history: input log and its file, checkpoints, the port
# device that records and replays, and the history that goes back (no Qt).
set(QRX_SESSION_SOURCES
  src/session/input_log.cpp
  src/session/input_log_file.cpp
  src/session/checkpoint.cpp
  src/session/checkpoint_store.cpp
  src/session/history_port_device.cpp
  src/session/execution_history.cpp
)
