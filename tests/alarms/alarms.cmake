corkvane_test(tst_waveplayer SOURCES tst_waveplayer.cpp LIBS cv_alarms cv_platform)
corkvane_test(tst_alarmmath SOURCES tst_alarmmath.cpp LIBS cv_alarms cv_platform)
