corkvane_test(tst_send SOURCES tst_send.cpp LoopbackPeers.h LIBS cv_net cv_store cv_platform)
corkvane_test(tst_send_e2e SOURCES tst_send_e2e.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
add_dependencies(tst_send_e2e corkvane)
# The driver behind the screenshots of the send dialog and the contact book (not a test).
add_executable(shot_send_dialogs ${CMAKE_CURRENT_LIST_DIR}/shot_send_dialogs.cpp)
target_link_libraries(shot_send_dialogs PRIVATE cv_mail cv_net cv_store cv_platform Qt6::Network ${CORKVANE_QT_LIBS})
target_include_directories(shot_send_dialogs PRIVATE ${CMAKE_SOURCE_DIR}/src)
# Kept out of the program folder, which is installed whole.
set_target_properties(shot_send_dialogs PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/drivers)
