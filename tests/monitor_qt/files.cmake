# Qt Test executables of the monitor window, its renderer and the screen thread.
qrx_gui_test(test_monitor_renderer tests/monitor_qt/monitor_renderer_test.cpp)
qrx_gui_test(test_form_mon tests/monitor_qt/form_mon_test.cpp)
qrx_gui_test(test_screen_thread tests/monitor_qt/screen_thread_test.cpp)
