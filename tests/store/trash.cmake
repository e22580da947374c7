corkvane_test(tst_trash SOURCES tst_trash.cpp LIBS cv_store cv_platform)
