# The repository's own scripts: where the package test takes its Debian archive from.
add_test(NAME apt_mirror COMMAND ${CMAKE_CURRENT_LIST_TEST_DIR}/check_apt_mirror.sh)
set_tests_properties(apt_mirror PROPERTIES TIMEOUT 60 SKIP_RETURN_CODE 77)
