corkvane_test(tst_hostileload SOURCES tst_hostileload.cpp HostileLoad.h FakeNoteSink.h LIBS cv_net cv_store cv_platform)
add_dependencies(tst_hostileload corkvane)
