# The monkey: the real main window driven by seeded random input under a
# virtual display (scripts/run-monkey). `make monkey` runs it for minutes;
# the sanitizer build runs it for a minute as a test, with a fixed seed so
# that a failure there replays.
add_executable(qrx_monkey
  tests/workbench/monkey/monkey_driver.cpp
  tests/workbench/monkey/monkey_driver.h
  tests/workbench/monkey/monkey_files.cpp
  tests/workbench/monkey/monkey_files.h
  tests/workbench/monkey/monkey_main.cpp
)
target_link_libraries(qrx_monkey PRIVATE qrxgui Qt6::Test)
target_compile_definitions(qrx_monkey PRIVATE QRX_SAMPLE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/qasm")
add_test(NAME workbench_monkey
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/run-monkey $<TARGET_FILE:qrx_monkey> 60 20261208)
set_tests_properties(workbench_monkey PROPERTIES TIMEOUT 420)
