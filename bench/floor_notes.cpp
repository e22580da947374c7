// The floor Corkvane is measured against: a bare Qt program that shows N frameless 170 x 120
// tool windows, each holding a text editor with a few lines, and nothing else. It prints
// "ready" once every window has been shown and the event loop has run, then idles until it
// is terminated. Used by bench/bench_desktop.py.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    std::signal(SIGTERM, [](int) { std::_Exit(0); });
    const int count = argc > 1 ? std::atoi(argv[1]) : 0;
    std::vector<QWidget *> windows;
    windows.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto *window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        window->resize(170, 120);
        window->move(400 + (i % 40) * 10, 100 + (i % 30) * 10);
        auto *layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 16, 5, 5);
        auto *editor = new QPlainTextEdit(window);
        editor->setPlainText(QStringLiteral("Note %1\nSecond line of the note\nThird line").arg(i));
        layout->addWidget(editor);
        window->show();
        windows.push_back(window);
    }
    QTimer::singleShot(0, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
