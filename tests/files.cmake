# One GoogleTest executable per core layer, linked against that layer's
# library alone, and Qt Test executables for the windows. Each folder lists
# its own test sources.
include(${CMAKE_CURRENT_LIST_DIR}/persistence/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/machine/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/monitor/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/assembler/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/session/files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/app/files.cmake)

set(QRX_TEST_DATA_DIR ${CMAKE_CURRENT_LIST_DIR}/programs)

# qrx_core_test(NAME LIBRARY SOURCES...)
function(qrx_core_test name library)
  if(NOT ARGN)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QRX_TEST_DATA_DIR="${QRX_TEST_DATA_DIR}"
    QRX_TOOL_PATH="$<TARGET_FILE:qrx>")
  add_test(NAME ${name} COMMAND ${name})
  # A hang (a read that never ends, a loop that never stops) fails the test
  # instead of stalling the run.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

qrx_core_test(test_persistence qrx_persistence ${QRX_TESTS_PERSISTENCE})
qrx_core_test(test_machine qrx_machine ${QRX_TESTS_MACHINE})
qrx_core_test(test_monitor qrx_monitor ${QRX_TESTS_MONITOR})
qrx_core_test(test_assembler qrx_assembler ${QRX_TESTS_ASSEMBLER})
qrx_core_test(test_session qrx_session ${QRX_TESTS_SESSION})
# The tool's tests run the built qrx, so it must be there first.
qrx_core_test(test_tool qrxcore ${QRX_TESTS_APP})
if(TARGET test_tool)
  add_dependencies(test_tool qrx)
  # The sample programs are tested where they lie in the source tree.
  target_compile_definitions(test_tool PRIVATE QRX_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/qasm")
  # The reports of qrx test are read back as JSON.
  target_link_libraries(test_tool PRIVATE nlohmann_json::nlohmann_json)
endif()

if(QRX_WITH_GUI)
  # Qt Test executables for the windows; each is registered with CTest here and
  # runs on the offscreen platform.
  function(qrx_gui_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE qrxgui Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    # A hang (a deadlock between the screen thread and the GUI thread) fails
    # the test instead of stalling the run.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
  endfunction()

  if(QRX_WITH_GUI_TESTS)
    include(${CMAKE_CURRENT_LIST_DIR}/monitor_qt/files.cmake)
    include(${CMAKE_CURRENT_LIST_DIR}/workbench/files.cmake)
  endif()
  # The monkey runs the sanitizer build's workbench (make monkey).
  if(QRX_SANITIZE)
    include(${CMAKE_CURRENT_LIST_DIR}/workbench/monkey/files.cmake)
  endif()
endif()

# The include-order check of scripts/check-layers, on the tree and on planted
# faults.
add_test(NAME check_layers COMMAND ${CMAKE_CURRENT_LIST_DIR}/scripts/check_layers_test.sh)

# The install rules: a scratch install of this build is complete and runs.
if(QRX_WITH_GUI AND QRX_WITH_GUI_TESTS)
  add_test(NAME install_tree COMMAND ${CMAKE_CURRENT_LIST_DIR}/scripts/install_tree_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_tree PROPERTIES TIMEOUT 300)
endif()
