qv_widget_test(shell/tst_keyboard.cpp)
