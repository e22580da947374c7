corkvane_test(tst_waveplayer SOURCES tst_waveplayer.cpp LIBS cv_alarms cv_platform)
