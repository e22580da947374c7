#pragma once
// Runs a sync test between two private computers made by scripts/sync-env.sh: a test binary
// started plainly re-starts itself through the script, which makes two network namespaces
// joined by a veth pair (or sets CORKVANE_SYNC_SKIP saying why it cannot).
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace syncenv {

// Call first thing in main(); returns only when already inside (or skipping).
inline void enter(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("CORKVANE_SYNC_NS_A") || qEnvironmentVariableIsSet("CORKVANE_SYNC_SKIP"))
        return;
    const QByteArray script = qgetenv("CORKVANE_TEST_SOURCE_DIR") + "/scripts/sync-env.sh";
    if (qEnvironmentVariableIsEmpty("CORKVANE_TEST_SOURCE_DIR") || access(script.constData(), X_OK) != 0) {
        qputenv("CORKVANE_SYNC_SKIP", "the environment script was not found");
        return;
    }
    std::vector<char *> args{const_cast<char *>(script.constData()), const_cast<char *>("run")};
    for (int i = 0; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(script.constData(), args.data());
    std::perror("sync-env.sh");
    qputenv("CORKVANE_SYNC_SKIP", "the environment script could not be started");
}

inline QString skipReason() { return qEnvironmentVariable("CORKVANE_SYNC_SKIP"); }
inline QString nameSpace(char computer) { return qEnvironmentVariable(computer == 'a' ? "CORKVANE_SYNC_NS_A" : "CORKVANE_SYNC_NS_B"); }
inline QString address(char computer) { return qEnvironmentVariable(computer == 'a' ? "CORKVANE_SYNC_ADDR_A" : "CORKVANE_SYNC_ADDR_B"); }

} // namespace syncenv
