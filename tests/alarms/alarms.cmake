corkvane_test(tst_alarmmath SOURCES tst_alarmmath.cpp LIBS cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_alarmtick SOURCES tst_alarmtick.cpp LIBS cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_mostraalarmes SOURCES tst_mostraalarmes.cpp LIBS cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_confnota SOURCES tst_confnota.cpp LIBS cv_alarms cv_notes cv_store cv_platform)
