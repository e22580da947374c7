corkvane_test(tst_backup SOURCES tst_backup.cpp LIBS cv_store cv_platform)
