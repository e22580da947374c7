// Shows the trash or the restore dialog over a few notes, with entries made as a user's week
// would leave them, and saves a picture of the dialog with its window frame: the driver behind
// the screenshots in docs/. Not a test.
//   shot_recovery_dialogs trash|restore PICTURE.png
// The pictures were taken on Xvfb under openbox:
//   Xvfb :87 -screen 0 1024x700x24 & DISPLAY=:87 openbox &
//   DISPLAY=:87 QT_QPA_PLATFORM=xcb LANG=pt_BR.UTF-8 build/drivers/shot_recovery_dialogs trash docs/screenshot-trash.png
#include "app/Lixeira.h"
#include "app/RestaurarCopia.h"
#include "app/StickyNote.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "store/NoteTrash.h"
#include "store/Snapshots.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

NoteData note(const QString &caption, const QString &text, int colour)
{
    NoteData n;
    n.caption = caption;
    n.note = text;
    n.color = colour;
    return n;
}

void writeStore(const QString &path, const QList<NoteData> &notes)
{
    IniFile ini;
    NoteStore::write(ini, AppSettings(), notes, true);
    ini.saveToFile(path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: shot_recovery_dialogs trash|restore PICTURE.png\n");
        return 2;
    }
    const QByteArray mode(argv[1]);
    const QString picture = QString::fromLocal8Bit(argv[2]);
    Dialogs::setTestMode(true);
    Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    QTemporaryDir home;
    const QString data = home.filePath("Corkvane/ana/data/");
    QDir().mkpath(data);
    const QDateTime now(QDate(2026, 12, 8), QTime(16, 20, 0));
    MockClock clock(now);

    writeStore(data + "stickies.cvf", {note("Reunião", "Sala 3, 14h", 0x80FFFF)});
    NoteTrash trash(data + "trash.cvf");
    trash.add(note("Compras", "pão, leite\r\ncafé", 0x80FFFF), now.addSecs(-600));
    trash.add(note("Ligar para Bia", "sobre a viagem de sexta", 0xFFC0C0), now.addDays(-1).addSecs(-3000));
    trash.add(note("08/12/2026 09:12:40", "\r\nSenha do wi-fi da sala: verão2026", 0xC0FFC0), now.addDays(-3));
    trash.add(note("Dentista", "terça, 10h30 — levar a carteirinha", 0xFFFF80), now.addDays(-12));

    // A week of snapshots, and two exit backups.
    const QStringList titles{"Reunião", "Compras", "Ligar para Bia", "Dentista", "Projeto", "Aniversário da Ana"};
    for (int day = 6; day >= 0; --day) {
        QList<NoteData> notes;
        for (int i = 0; i <= (day * 3) % titles.size(); ++i)
            notes << note(titles.at(i), QString(), 0x80FFFF);
        writeStore(data + "stickies.cvf", notes);
        Snapshots::take(data + "stickies.cvf", now.addDays(-day).addSecs(-3600 * (day + 1)));
    }
    const QString backups = home.filePath("copias");
    QDir().mkpath(backups);
    writeStore(backups + "/sticky-20261130_1805.cvf", {note("Projeto", QString(), 0), note("Dentista", QString(), 0)});
    writeStore(backups + "/sticky-20261120_1744.cvf", {note("Projeto", QString(), 0)});
    writeStore(data + "stickies.cvf", {note("Reunião", "Sala 3, 14h", 0x80FFFF)});
    IniFile settings = IniFile::fromFile(data + "stickies.cvf");
    settings.writeString("General", "BackupPath", backups);
    settings.saveToFile(data + "stickies.cvf");

    TfStickyNote controller({Paths::programFolder(), home.path(), "ana"});
    controller.startupStep();
    QDialog *dialog = nullptr;
    if (mode == "restore") {
        controller.openRestore();
        dialog = controller.restoreDialog();
        auto *list = dialog->findChild<QTreeWidget *>("lstCopias");
        list->setCurrentItem(list->topLevelItem(2));
    } else {
        controller.openTrash();
        dialog = controller.trashDialog();
        auto *list = dialog->findChild<QTreeWidget *>("lstLixeira");
        list->setCurrentItem(list->topLevelItem(1));
    }
    if (QScreen *screen = QGuiApplication::primaryScreen())
        dialog->move(screen->availableGeometry().center() - QPoint(dialog->width() / 2, dialog->height() / 2));
    QTimer::singleShot(1500, [&] {
        const QRect frame = dialog->frameGeometry();
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        shot.save(picture);
        app.quit();
    });
    return app.exec();
}
