corkvane_test(tst_platform SOURCES tst_platform.cpp LIBS cv_platform)
