#pragma once
// Runs a discovery test inside the private network of scripts/dnssd-env.sh: a test binary
// started plainly re-starts itself through the script, which runs it in a network namespace
// with its own bus and DNS-SD daemon (or with CORKVANE_DNSSD_SKIP saying why it cannot).
#include <QByteArray>
#include <QListWidget>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace dnssdenv {

// Call first thing in main(); returns only when already inside (or skipping).
inline void enter(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("CORKVANE_DNSSD_DIR") || qEnvironmentVariableIsSet("CORKVANE_DNSSD_SKIP"))
        return;
    const QByteArray script = qgetenv("CORKVANE_TEST_SOURCE_DIR") + "/scripts/dnssd-env.sh";
    std::vector<char *> args{const_cast<char *>(script.constData()), const_cast<char *>("run")};
    for (int i = 0; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    if (qEnvironmentVariableIsEmpty("CORKVANE_TEST_SOURCE_DIR") || access(script.constData(), X_OK) != 0) {
        qputenv("CORKVANE_DNSSD_SKIP", "the environment script was not found");
        return;
    }
    execv(script.constData(), args.data());
    std::perror("dnssd-env.sh");
    qputenv("CORKVANE_DNSSD_SKIP", "the environment script could not be started");
}

inline QString skipReason() { return qEnvironmentVariable("CORKVANE_DNSSD_SKIP"); }

// Stops or starts the environment's daemon ("daemon-stop", "daemon-start").
inline bool daemon(const QString &what)
{
    return QProcess::execute(qEnvironmentVariable("CORKVANE_DNSSD_ENV"), {what}) == 0;
}

// The entry of a found-programs list shown under `name`, or null.
inline QListWidgetItem *itemNamed(QListWidget *list, const QString &name)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == name)
            return list->item(i);
    return nullptr;
}

} // namespace dnssdenv

#define DNSSD_REQUIRE_ENV()                                                                        \
    do {                                                                                           \
        if (!dnssdenv::skipReason().isEmpty())                                                     \
            QSKIP(qPrintable(QStringLiteral("no private DNS-SD network: ") + dnssdenv::skipReason())); \
    } while (0)
