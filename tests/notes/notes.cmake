corkvane_test(tst_notelogic SOURCES tst_notelogic.cpp LIBS cv_notes cv_alarms cv_store cv_platform)
corkvane_test(tst_postit SOURCES tst_postit.cpp LIBS cv_notes cv_alarms cv_store cv_platform)
corkvane_test(tst_preferences SOURCES tst_preferences.cpp LIBS cv_notes cv_alarms cv_net cv_store cv_platform)
corkvane_test(tst_notelinks SOURCES tst_notelinks.cpp LIBS cv_notes cv_store cv_platform)
