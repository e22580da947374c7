// Saves a part of the X screen as a PNG: the window manager's frame and all, as the user sees
// it. The tool behind the pictures of docs/ (tests/app/shot_notes_window.py). Not a test.
//   QT_QPA_PLATFORM=xcb shot_screen <x> <y> <width> <height> <file.png>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: shot_screen <x> <y> <width> <height> <file.png>\n");
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const QPixmap shot = screen->grabWindow(0, args.at(1).toInt(), args.at(2).toInt(), args.at(3).toInt(), args.at(4).toInt());
    return !shot.isNull() && shot.save(args.at(5), "PNG") ? 0 : 1;
}
