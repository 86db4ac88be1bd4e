# The monitor model: screen, character table, ports, keys, mouse and timer
# (no Qt).
set(QRX_MONITOR_SOURCES
  src/monitor/character_set.cpp
  src/monitor/input_model.cpp
  src/monitor/monitor_model.cpp
  src/monitor/monitor_state_block.cpp
  src/monitor/performance_counter.cpp
  src/monitor/screen_cell.cpp
  src/monitor/screen_model.cpp
)
