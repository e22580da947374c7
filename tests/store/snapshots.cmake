corkvane_test(tst_snapshots SOURCES tst_snapshots.cpp LIBS cv_store cv_platform)
