qv_widget_test(shell/tst_keyboard.cpp)
qv_widget_test(shell/tst_window_layouts.cpp)
