# The tool (core only) and the workbench (Qt).
# The texts qrx asm prints, a library the fuzz targets link as well.
set(QRX_REPORT_SOURCES
  src/app/listing_report.cpp
)
set(QRX_TOOL_SOURCES
  src/app/qrx_main.cpp
  src/app/tool_asm.cpp
  src/app/tool_common.cpp
  src/app/tool_diagnostics.cpp
  src/app/tool_options.cpp
  src/app/tool_run.cpp
  src/app/tool_run_history.cpp
  src/app/tool_run_loop.cpp
  src/app/tool_test.cpp
)
set(QRX_WORKBENCH_MAIN_SOURCES
  src/app/workbench_main.cpp
)
