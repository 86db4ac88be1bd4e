# The screen model, ports and input model are core (no Qt); the window and the
# screen thread are Qt and go into qrxgui.
set(QRX_MONITOR_CORE_SOURCES
  src/monitor/character_set.cpp
  src/monitor/input_model.cpp
  src/monitor/monitor_model.cpp
  src/monitor/monitor_state_block.cpp
  src/monitor/performance_counter.cpp
  src/monitor/screen_cell.cpp
  src/monitor/screen_model.cpp
)
set(QRX_MONITOR_GUI_SOURCES
  src/monitor/form_mon.cpp
  src/monitor/form_mon.h
  src/monitor/monitor_font.cpp
  src/monitor/monitor_renderer.cpp
  src/monitor/screen_thread.cpp
  src/monitor/screen_thread.h
)
