corkvane_test(tst_help SOURCES tst_help.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_help corkvane_shipped)
corkvane_test(tst_guides SOURCES tst_guides.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_guides corkvane_shipped)
