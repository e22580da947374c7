corkvane_test(tst_controller SOURCES tst_controller.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_receivednotes SOURCES tst_receivednotes.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
