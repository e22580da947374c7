corkvane_test(tst_recovery SOURCES tst_recovery.cpp LIBS cv_app cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
