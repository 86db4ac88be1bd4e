set(QRX_WORKBENCH_SOURCES
  src/workbench/keyboard_table.cpp
  src/workbench/keyboard_table.h
)
