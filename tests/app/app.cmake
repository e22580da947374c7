corkvane_test(tst_newnote SOURCES tst_newnote.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_traymenu SOURCES tst_traymenu.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
corkvane_test(tst_noteswindow SOURCES tst_noteswindow.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_noteswindow corkvane_shipped)
# The accessibility test: a driver opens every window of the program in turn, and the walker
# reads each through AT-SPI as a screen reader does (skipped without Xvfb and the AT-SPI bus).
add_executable(a11y_windows ${CMAKE_CURRENT_LIST_TEST_DIR}/a11y_windows.cpp)
target_link_libraries(a11y_windows PRIVATE ${CORKVANE_ALL_LIBS})
set_target_properties(a11y_windows PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/drivers)
add_dependencies(a11y_windows corkvane_shipped)
add_test(NAME a11y_names COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_TEST_DIR}/a11y_names.py ${CMAKE_BINARY_DIR})
set_tests_properties(a11y_names PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77)
corkvane_sanitizer_environment(a11y_names)
# The tool behind the pictures of the notes window in docs/ (not a test).
add_executable(shot_screen ${CMAKE_CURRENT_LIST_TEST_DIR}/shot_screen.cpp)
target_link_libraries(shot_screen PRIVATE Qt6::Gui)
set_target_properties(shot_screen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/drivers)
