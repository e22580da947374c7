// The floor Corkvane is measured against: a bare Qt program that shows N frameless 170 x 120
// tool windows, each holding a text editor with a few lines, and nothing else. It prints
// "ready" once every window has been painted for the first time (what Corkvane reports as
// "painted" under CORKVANE_STARTUP_TRACE), then idles until it is terminated. Used by
// bench/bench_desktop.py.
#include <QApplication>
#include <QEvent>
#include <QSet>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <vector>

namespace {

void reportReady()
{
    std::printf("ready\n");
    std::fflush(stdout);
}

// Counts each window's first paint; "ready" goes out with the last one.
class FirstPaints : public QObject
{
public:
    void watch(QWidget *w)
    {
        m_pending.insert(w);
        w->installEventFilter(this);
    }
    bool done() const { return m_pending.isEmpty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_pending.remove(watched)) {
            watched->removeEventFilter(this);
            if (m_pending.isEmpty())
                reportReady();
        }
        return false;
    }

private:
    QSet<QObject *> m_pending;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    std::signal(SIGTERM, [](int) { std::_Exit(0); });
    const int count = argc > 1 ? std::atoi(argv[1]) : 0;
    std::vector<QWidget *> windows;
    windows.reserve(count);
    FirstPaints firstPaints;
    for (int i = 0; i < count; ++i) {
        auto *window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        window->resize(170, 120);
        window->move(400 + (i % 40) * 10, 100 + (i % 30) * 10);
        auto *layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 16, 5, 5);
        auto *editor = new QPlainTextEdit(window);
        editor->setPlainText(QStringLiteral("Note %1\nSecond line of the note\nThird line").arg(i));
        layout->addWidget(editor);
        firstPaints.watch(window);
        window->show();
        windows.push_back(window);
    }
    if (firstPaints.done())
        QTimer::singleShot(0, reportReady);
    return app.exec();
}
