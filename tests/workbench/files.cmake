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
