corkvane_test(tst_killsave SOURCES tst_killsave.cpp LIBS cv_store cv_platform TIMEOUT 240)
add_dependencies(tst_killsave corkvane corkvane_shipped)
