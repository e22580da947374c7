corkvane_test(tst_protocol SOURCES tst_protocol.cpp FakeNoteSink.h LIBS cv_net cv_store cv_platform)
