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

qrx_gui_test(test_monitor_renderer tests/workbench/monitor_renderer_test.cpp)
qrx_gui_test(test_form_mon tests/workbench/form_mon_test.cpp)
qrx_gui_test(test_screen_thread tests/workbench/screen_thread_test.cpp)
qrx_gui_test(test_keyboard_table tests/workbench/keyboard_table_test.cpp)
qrx_gui_test(test_number_format tests/workbench/number_format_test.cpp)
qrx_gui_test(test_memory_view tests/workbench/memory_view_test.cpp)
qrx_gui_test(test_listing_view tests/workbench/listing_view_test.cpp tests/workbench/view_test_support.h)
qrx_gui_test(test_label_view tests/workbench/label_view_test.cpp tests/workbench/view_test_support.h)
qrx_gui_test(test_workbench_settings tests/workbench/workbench_settings_test.cpp)
qrx_gui_test(test_main_window tests/workbench/main_window_test.cpp tests/workbench/main_window_test_support.h)
target_compile_definitions(test_main_window PRIVATE QRX_SAMPLE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/qasm")
qrx_gui_test(test_load_flow tests/workbench/load_flow_test.cpp tests/workbench/main_window_test_support.h)
qrx_gui_test(test_view_wiring tests/workbench/view_wiring_test.cpp tests/workbench/main_window_test_support.h)
