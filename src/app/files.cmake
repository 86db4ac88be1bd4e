# The tool (core only) and the workbench (Qt).
set(QRX_TOOL_SOURCES
  src/app/qrx_main.cpp
)
set(QRX_WORKBENCH_MAIN_SOURCES
  src/app/workbench_main.cpp
)
