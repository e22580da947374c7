corkvane_test(tst_enviaremail SOURCES tst_enviaremail.cpp FakeSmtpServer.h SmtpFixture.h LIBS cv_mail cv_net cv_store cv_platform)
corkvane_test(tst_enviaremail_tls SOURCES tst_enviaremail_tls.cpp LIBS cv_mail cv_net cv_store cv_platform)
# The test makes its own certificates with OpenSSL.
target_link_libraries(tst_enviaremail_tls PRIVATE OpenSSL::SSL OpenSSL::Crypto)
add_dependencies(tst_enviaremail corkvane_modules)
