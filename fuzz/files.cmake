# libFuzzer targets, built with clang by `make fuzz` (QRX_FUZZ=ON). Each one
# links the instrumented core, the shared harness helpers and the tool's
# listing texts (qrx_report), and is run on a copy of its seed corpus under
# fuzz/corpus/<target>.
set(QRX_FUZZ_SUPPORT_SOURCES
  fuzz/fuzz_support.cpp
  fuzz/fuzz_support.h
)
set(QRX_FUZZ_TARGETS
  fuzz_assembler
  fuzz_state_file
  fuzz_machine
)

foreach(target ${QRX_FUZZ_TARGETS})
  add_executable(${target} fuzz/${target}.cpp ${QRX_FUZZ_SUPPORT_SOURCES})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE qrxcore qrx_report)
endforeach()
