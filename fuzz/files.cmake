# libFuzzer targets, built with clang by `make fuzz` (QRX_FUZZ=ON). Each one
# links the instrumented core, the tool's listing texts (qrx_report), the
# label view's rows (Qt-free) and the shared harness helpers, and is run on a copy of its seed corpus under
# fuzz/corpus/<target>.
#
# The focused targets work in memory on one part each and run thousands of
# inputs a second; the session targets take each input through a whole
# program session (files on disk, every view, saving and restoring) for
# breadth.
set(QRX_FUZZ_FOCUSED_TARGETS
  fuzz_literals
  fuzz_line
  fuzz_macros
  fuzz_sources
  fuzz_state_file
  fuzz_machine
)
set(QRX_FUZZ_SESSION_TARGETS
  fuzz_assembler
  fuzz_state_session
  fuzz_machine_session
)
set(QRX_FUZZ_SUPPORT_SOURCES
  fuzz/fuzz_support.cpp
  fuzz/fuzz_support.h
  src/workbench/label_view_model.cpp
)

add_library(qrx_fuzz_support STATIC ${QRX_FUZZ_SUPPORT_SOURCES})
target_include_directories(qrx_fuzz_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_link_libraries(qrx_fuzz_support PUBLIC qrxcore qrx_report)
foreach(target ${QRX_FUZZ_FOCUSED_TARGETS} ${QRX_FUZZ_SESSION_TARGETS})
  add_executable(${target} fuzz/${target}.cpp)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE qrx_fuzz_support)
endforeach()
