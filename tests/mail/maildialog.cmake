corkvane_test(tst_enviaremail SOURCES tst_enviaremail.cpp FakeSmtpServer.h SmtpFixture.h LIBS cv_mail cv_net cv_store cv_platform)
