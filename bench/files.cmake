# Benchmarks, built in Release by `make bench`.
set(QRX_BENCH_SOURCES
  bench/string_list_bench.cpp
  bench/line_assembler_bench.cpp
  bench/machine_bench.cpp
  bench/run_control_bench.cpp
  bench/label_table_bench.cpp
  bench/macro_bench.cpp
  bench/assembler_bench.cpp
  bench/state_file_bench.cpp
  bench/history_bench.cpp
  bench/hints_bench.cpp
  bench/grading_bench.cpp
)
if(QRX_BENCH_SOURCES)
  add_executable(qrx_bench ${QRX_BENCH_SOURCES})
  target_link_libraries(qrx_bench PRIVATE qrxcore benchmark::benchmark benchmark::benchmark_main)
  # The history and grading benchmarks play sample programs.
  target_compile_definitions(qrx_bench PRIVATE QRX_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/qasm")
endif()

# The monitor's drawing and the workbench's views need Qt: a benchmark
# executable of their own.
if(QRX_WITH_GUI)
  add_executable(qrx_gui_bench bench/monitor_render_bench.cpp bench/listing_paint_bench.cpp
                               bench/workbench_run_bench.cpp bench/workbench_load_bench.cpp
                               bench/view_rows_bench.cpp)
  target_link_libraries(qrx_gui_bench PRIVATE qrxgui benchmark::benchmark benchmark::benchmark_main)
endif()
