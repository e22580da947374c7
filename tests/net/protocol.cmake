corkvane_test(tst_protocol SOURCES tst_protocol.cpp FakeNoteSink.h LIBS cv_net cv_store cv_platform)
corkvane_test(tst_noteserver SOURCES tst_noteserver.cpp FakeNoteSink.h LIBS cv_net cv_store cv_platform)
corkvane_test(tst_noteserver_e2e SOURCES tst_noteserver_e2e.cpp LIBS cv_store cv_platform)
add_dependencies(tst_noteserver_e2e corkvane)
