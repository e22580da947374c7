corkvane_test(tst_inifile SOURCES tst_inifile.cpp LIBS cv_store cv_platform)
corkvane_test(tst_notestore SOURCES tst_notestore.cpp LIBS cv_store cv_platform)
