corkvane_test(tst_protocol SOURCES tst_protocol.cpp FakeNoteSink.h LIBS cv_net cv_store cv_platform)
corkvane_test(tst_noteserver SOURCES tst_noteserver.cpp FakeNoteSink.h LIBS cv_net cv_store cv_platform)
