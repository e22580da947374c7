corkvane_test(tst_noteplaces SOURCES tst_noteplaces.cpp LIBS cv_notes cv_alarms cv_store cv_platform)
