set(QRX_MACHINE_SOURCES
  src/machine/machine.cpp
  src/machine/machine_stream.cpp
  src/machine/step.cpp
  src/machine/run_report.cpp
  src/machine/run_control.cpp
)
