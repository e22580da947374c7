corkvane_test(tst_mail_compose SOURCES tst_mail_compose.cpp LIBS cv_mail cv_net cv_store cv_platform)
corkvane_test(tst_smtp_session SOURCES tst_smtp_session.cpp FakeSmtpServer.h LIBS cv_mail cv_net cv_store cv_platform)
corkvane_test(tst_smtp_server SOURCES tst_smtp_server.cpp SmtpFixture.h LIBS cv_mail cv_net cv_store cv_platform)
corkvane_test(tst_smtp_tls SOURCES tst_smtp_tls.cpp FakeSmtpServer.h LIBS cv_mail cv_net cv_store cv_platform)
# The test makes its own certificates with OpenSSL.
target_link_libraries(tst_smtp_tls PRIVATE OpenSSL::SSL OpenSSL::Crypto)
