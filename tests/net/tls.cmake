corkvane_test(tst_tls SOURCES tst_tls.cpp LIBS cv_net cv_platform)
