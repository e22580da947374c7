corkvane_test(tst_platform SOURCES tst_platform.cpp LIBS cv_platform)
corkvane_test(tst_waveplayer SOURCES tst_waveplayer.cpp LIBS cv_platform)
add_dependencies(tst_platform corkvane-tls corkvane-print corkvane-sound)
