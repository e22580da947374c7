corkvane_test(tst_program SOURCES tst_program.cpp LIBS cv_store cv_platform)
add_dependencies(tst_program corkvane corkvane-msg corkvane_shipped)
corkvane_test(tst_waylandplaces SOURCES tst_waylandplaces.cpp LIBS cv_store cv_platform)
add_dependencies(tst_waylandplaces corkvane corkvane-msg corkvane_shipped)
