corkvane_test(tst_contacts SOURCES tst_contacts.cpp LIBS cv_mail cv_net cv_store cv_platform)
