# The monitor window, its renderer and font, and the screen thread (Qt).
set(QRX_MONITOR_QT_SOURCES
  src/monitor_qt/form_mon.cpp
  src/monitor_qt/form_mon.h
  src/monitor_qt/monitor_font.cpp
  src/monitor_qt/monitor_font.h
  src/monitor_qt/monitor_renderer.cpp
  src/monitor_qt/monitor_renderer.h
  src/monitor_qt/screen_thread.cpp
  src/monitor_qt/screen_thread.h
)
