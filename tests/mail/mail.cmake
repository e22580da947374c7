corkvane_test(tst_mail_compose SOURCES tst_mail_compose.cpp LIBS cv_mail cv_platform)
