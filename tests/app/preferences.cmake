corkvane_test(tst_preferences_live SOURCES tst_preferences_live.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
