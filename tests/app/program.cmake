corkvane_test(tst_program SOURCES tst_program.cpp LIBS cv_store cv_platform)
add_dependencies(tst_program corkvane corkvane-msg corkvane_shipped)
# The program on a desktop with a window manager and no notification area (skipped without
# Xvfb, openbox and xdotool).
add_test(NAME notes_without_tray COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_TEST_DIR}/notes_without_tray.py ${CORKVANE_BIN_DIR})
set_tests_properties(notes_without_tray PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77)
corkvane_sanitizer_environment(notes_without_tray)
corkvane_test(tst_waylandplaces SOURCES tst_waylandplaces.cpp LIBS cv_store cv_platform)
add_dependencies(tst_waylandplaces corkvane corkvane-msg corkvane_shipped)
corkvane_test(tst_program_recovery SOURCES tst_program_recovery.cpp LIBS cv_store cv_platform)
add_dependencies(tst_program_recovery corkvane corkvane-msg corkvane_shipped)
