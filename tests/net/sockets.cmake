corkvane_test(tst_socketlines SOURCES tst_socketlines.cpp LIBS cv_net cv_platform)
corkvane_test(tst_sockets SOURCES tst_sockets.cpp LIBS cv_net cv_platform)
