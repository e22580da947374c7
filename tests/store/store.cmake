corkvane_test(tst_inifile SOURCES tst_inifile.cpp LIBS cv_store cv_platform)
