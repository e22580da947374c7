corkvane_test(tst_controller SOURCES tst_controller.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
