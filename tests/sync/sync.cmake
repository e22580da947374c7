corkvane_test(tst_syncdecision SOURCES tst_syncdecision.cpp LIBS cv_sync cv_store cv_platform)
corkvane_test(tst_syncfolder SOURCES tst_syncfolder.cpp SyncComputer.h LIBS cv_sync cv_store cv_platform)
corkvane_test(tst_syncengine SOURCES tst_syncengine.cpp LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform)
