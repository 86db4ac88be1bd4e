# Benchmarks, built in Release by `make bench`.
set(QRX_BENCH_SOURCES
)
if(QRX_BENCH_SOURCES)
  add_executable(qrx_bench ${QRX_BENCH_SOURCES})
  target_link_libraries(qrx_bench PRIVATE qrxcore benchmark::benchmark benchmark::benchmark_main)
endif()
