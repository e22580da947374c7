# Runs itself inside scripts/dnssd-env.sh's private network (or skips, saying why).
corkvane_test(tst_discovery SOURCES tst_discovery.cpp DnssdEnv.h LIBS cv_net cv_store cv_platform TIMEOUT 180)
corkvane_test(tst_discovery_send SOURCES tst_discovery_send.cpp DnssdEnv.h LIBS cv_net cv_store cv_platform TIMEOUT 180)
corkvane_test(tst_discovery_e2e SOURCES tst_discovery_e2e.cpp DnssdEnv.h LIBS cv_app cv_sync cv_mail cv_net cv_alarms cv_notes cv_store cv_platform TIMEOUT 180)
add_dependencies(tst_discovery_e2e corkvane)
