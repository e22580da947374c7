#include "app/StartupTrace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSet>
#include <QWidget>
#include <cstdio>

namespace {

class FirstPaints : public QObject
{
public:
    explicit FirstPaints(const QList<QWidget *> &shown) : QObject(QCoreApplication::instance())
    {
        for (QWidget *w : shown) {
            m_pending.insert(w);
            w->installEventFilter(this);
            connect(w, &QObject::destroyed, this, [this, w] { painted(w); });
        }
        if (m_pending.isEmpty())
            report();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted(watched);
        return false;
    }

private:
    void painted(QObject *w)
    {
        if (!m_pending.remove(w))
            return;
        w->removeEventFilter(this);
        if (m_pending.isEmpty())
            report();
    }
    void report()
    {
        std::printf("painted\n");
        std::fflush(stdout);
        deleteLater();
    }

    QSet<QObject *> m_pending;
};

} // namespace

namespace StartupTrace {

void watch(const QList<QWidget *> &shown)
{
    if (qEnvironmentVariableIsSet("CORKVANE_STARTUP_TRACE"))
        new FirstPaints(shown);
}

} // namespace StartupTrace
