corkvane_test(tst_recovery SOURCES tst_recovery.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
# The driver behind the screenshots of the trash and the restore dialog (not a test).
add_executable(shot_recovery_dialogs ${CMAKE_CURRENT_LIST_DIR}/shot_recovery_dialogs.cpp)
target_link_libraries(shot_recovery_dialogs PRIVATE ${CORKVANE_ALL_LIBS} Qt6::Network ${CORKVANE_QT_LIBS})
target_include_directories(shot_recovery_dialogs PRIVATE ${CMAKE_SOURCE_DIR}/src)
# Kept out of the program folder, which is installed whole.
set_target_properties(shot_recovery_dialogs PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/drivers)
add_dependencies(shot_recovery_dialogs corkvane_shipped)
