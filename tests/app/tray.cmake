# The program on a desktop of the test's own (Xvfb, a session bus, a tray that comes late).
corkvane_test(tst_trayarrival SOURCES tst_trayarrival.cpp LIBS cv_store cv_platform TIMEOUT 180)
add_dependencies(tst_trayarrival corkvane corkvane-msg corkvane_shipped)
