# One GoogleTest executable per core subsystem, one Qt Test executable for the
# windows. Each folder lists its own test sources.
include(${CMAKE_CURRENT_LIST_DIR}/machine/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/monitor/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/assembler/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/persistence/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/app/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/session/files.cmake)

set(QRX_TEST_DATA_DIR ${CMAKE_CURRENT_LIST_DIR}/programs)

function(qrx_core_test name)
  if(NOT ARGN)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE qrxcore GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QRX_TEST_DATA_DIR="${QRX_TEST_DATA_DIR}"
    QRX_TOOL_PATH="$<TARGET_FILE:qrx>")
  add_test(NAME ${name} COMMAND ${name})
  # A hang (a read that never ends, a loop that never stops) fails the test
  # instead of stalling the run.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

qrx_core_test(test_machine ${QRX_TESTS_MACHINE})
qrx_core_test(test_monitor ${QRX_TESTS_MONITOR})
qrx_core_test(test_assembler ${QRX_TESTS_ASSEMBLER})
qrx_core_test(test_persistence ${QRX_TESTS_PERSISTENCE})
qrx_core_test(test_session ${QRX_TESTS_SESSION})
# The tool's tests run the built qrx, so it must be there first.
qrx_core_test(test_tool ${QRX_TESTS_APP})
if(TARGET test_tool)
  add_dependencies(test_tool qrx)
  # The sample programs are tested where they lie in the source tree.
  target_compile_definitions(test_tool PRIVATE QRX_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/qasm")
  # The reports of qrx test are read back as JSON.
  target_link_libraries(test_tool PRIVATE nlohmann_json::nlohmann_json)
endif()

if(QRX_WITH_GUI)
  include(${CMAKE_CURRENT_LIST_DIR}/workbench/files.cmake)
endif()
