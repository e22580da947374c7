corkvane_test(tst_language SOURCES tst_language.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_language corkvane_shipped)
