# The installed desktop integration, checked with the desktop's own validators.
add_test(NAME desktop_install COMMAND ${CMAKE_CURRENT_LIST_TEST_DIR}/check_install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(desktop_install PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
