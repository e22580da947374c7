corkvane_test(tst_tls SOURCES tst_tls.cpp LIBS cv_net cv_platform)
# The test makes its own certificates with OpenSSL.
target_link_libraries(tst_tls PRIVATE OpenSSL::SSL OpenSSL::Crypto)
