// The controller's part in keeping notes within reach and bringing earlier states back: the
// rescue of notes left off the screens, "Reunir Notas", the trash, the snapshots of the store
// and the restore of a store copy.
#include "app/StickyNote.h"

#include "alarms/MostraAlarmes.h"
#include "app/RestaurarCopia.h"
#include "app/Lixeira.h"
#include "net/NoteServer.h"
#include "notes/NoteLayout.h"
#include "notes/NotePlaces.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "store/IniFile.h"
#include "store/Snapshots.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

// A snapshot at most this often while the program runs.
constexpr qint64 kSnapshotSpacingSecs = 3600;

} // namespace

// --- screens ---------------------------------------------------------------------------------

void TfStickyNote::setScreenAreaSource(std::function<QList<QRect>()> source)
{
    m_screenAreas = std::move(source);
}

QList<QRect> TfStickyNote::screenAreas() const
{
    if (m_screenAreas)
        return m_screenAreas();
    QList<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen *screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

void TfStickyNote::watchScreen(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &TfStickyNote::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &TfStickyNote::screensChanged);
}

void TfStickyNote::screensChanged()
{
    m_screenSettle.start();
}

void TfStickyNote::rescueNotes()
{
    if (!m_loaded)
        return;
    const QList<QRect> areas = screenAreas();
    m_table.forEach([&areas](int, TfPostIt *note) {
        if (const auto rescued = NotePlaces::rescue(note->storedGeometry(), NoteLayout::kCaptionHeight, areas))
            note->place(*rescued);
    });
}

NoteData TfStickyNote::withinReach(NoteData data, const QList<QRect> &areas)
{
    if (const auto rescued = NotePlaces::rescue(QRect(data.posx, data.posy, data.width, data.height),
                                                NoteLayout::kCaptionHeight, areas)) {
        data.posx = rescued->x();
        data.posy = rescued->y();
        data.width = rescued->width();
        data.height = rescued->height();
    }
    return data;
}

void TfStickyNote::gatherNotes()
{
    const QList<QRect> areas = screenAreas();
    if (areas.isEmpty())
        return;
    const QPoint pointer = QCursor::pos();
    QRect area = areas.front();
    for (const QRect &candidate : areas)
        if (candidate.contains(pointer)) {
            area = candidate;
            break;
        }
    QList<TfPostIt *> shown;
    QList<QSize> sizes;
    m_table.forEach([&](int, TfPostIt *note) {
        if (note->isHidden())
            return;
        shown << note;
        sizes << note->storedGeometry().size().boundedTo(area.size());
    });
    const QList<QPoint> places = NotePlaces::cascade(area, sizes, NoteLayout::kCaptionHeight);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        shown.at(i)->place(QRect(places.at(i), sizes.at(i)));
        shown.at(i)->raise();
    }
}

// --- snapshots -------------------------------------------------------------------------------

QString TfStickyNote::snapshotFolder() const
{
    return Snapshots::folderBeside(storePath());
}

void TfStickyNote::snapshotStoreAsFound(const LoadedStore &stored)
{
    if (m_startSnapshotTaken)
        return;
    m_startSnapshotTaken = true;
    const QDateTime now = Clock::now();
    if (!stored.notAProfile) {
        QString error;
        if (Snapshots::take(storePath(), now, &error).isEmpty() && !error.isEmpty())
            qWarning("Corkvane: no snapshot of the store: %s", qPrintable(error));
    }
    m_lastSnapshotAt = now;
    m_lastSnapshotNotes = stored.notes;
}

void TfStickyNote::snapshotAfterSave(const QList<NoteData> &saved)
{
    const QDateTime now = Clock::now();
    const qint64 since = m_lastSnapshotAt.isValid() ? m_lastSnapshotAt.secsTo(now) : kSnapshotSpacingSecs;
    // A clock set back does not hold the snapshots off until it has caught up again.
    if ((since >= 0 && since < kSnapshotSpacingSecs) || saved == m_lastSnapshotNotes)
        return;
    QString error;
    if (Snapshots::take(storePath(), now, &error).isEmpty()) {
        if (!error.isEmpty())
            qWarning("Corkvane: no snapshot of the store: %s", qPrintable(error));
        return;
    }
    m_lastSnapshotAt = now;
    m_lastSnapshotNotes = saved;
}

void TfStickyNote::keepUnreadableStore()
{
    QString error;
    const QString kept = Snapshots::keepUnreadable(storePath(), Clock::now(), &error);
    QString text;
    if (kept.isEmpty()) {
        // Not kept anywhere else: then it is not written over either.
        m_storeProtected = true;
        text = tr("O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Também não foi possível "
                  "guardar uma cópia dele (%2), por isso o Corkvane não gravará sobre ele. O Corkvane começa com as "
                  "configurações padrão.")
                   .arg(storePath(), error);
    } else {
        // Its bytes live on whole in the copy; the next save starts a clean store.
        QFile::remove(storePath());
        m_saveCache.clear();
        text = tr("O arquivo de notas %1 não pôde ser lido: não contém notas nem configurações. Ele foi guardado intacto "
                  "em %2. O Corkvane começa com as configurações padrão.")
                   .arg(storePath(), kept);
    }
    qWarning("Corkvane: %s", qPrintable(text));
    // Told once the start-up step is over: the rest of the start does not wait for the answer.
    m_startupWarnings << text;
}

// --- trash -----------------------------------------------------------------------------------

QList<int> TfStickyNote::restoreFromTrash(const QStringList &ids)
{
    QList<int> created;
    const int room = NoteTable::kSlots - m_table.count();
    if (room <= 0 && !ids.isEmpty()) {
        Dialogs::error(nullptr, tr("Não há lugar para mais notas nesta sessão. Salve, feche e abra o Corkvane novamente "
                                   "para restaurar notas da Lixeira."));
        return created;
    }
    QString error;
    const auto taken = trash().take(ids.mid(0, room), Clock::now(), &error);
    if (!taken) {
        Dialogs::error(nullptr, error);
        return created;
    }
    const QList<QRect> areas = screenAreas();
    for (const TrashEntry &entry : *taken) {
        NoteData data = entry.note;
        // A restored note comes back in sight, where it was if that can still be reached.
        data.visible = true;
        TfPostIt *note = makeNoteWindow();
        note->applyData(withinReach(data, areas));
        note->bringToFront();
        created << note->Tag();
    }
    return created;
}

TfrmLixeira *TfStickyNote::trashDialog()
{
    if (!m_trashDialog) {
        m_trashDialog = new TfrmLixeira(*this, this);
        connect(m_trashDialog, &TfrmLixeira::helpRequested, this, &TfStickyNote::showHelp);
    }
    return m_trashDialog;
}

void TfStickyNote::openTrash()
{
    TfrmLixeira *dialog = trashDialog();
    dialog->refresh();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

// --- restore ---------------------------------------------------------------------------------

void TfStickyNote::releaseNotesForReload()
{
    m_noteServer->StopNoteServer();
    m_noteServer->ForgetNotesInProgress();
    // Today's tasks name notes by their numbers: an open list is made again after the load.
    if (m_tasks && m_tasks->isVisible()) {
        m_tasks->hide();
        m_relistTasks = true;
    }
    destroyAllNotes();
    // Until the start-up step has read the store again there is nothing in memory worth
    // writing: a save or an exit in between must not empty the file.
    m_loaded = false;
}

bool TfStickyNote::restoreStoreCopy(const QString &path)
{
    if (!m_loaded)
        return false;
    // A dialog that is open over a note (its settings, its title) would outlive the note.
    if (QApplication::activeModalWidget()) {
        Dialogs::error(nullptr, tr("Nada foi restaurado: feche antes as janelas abertas do Corkvane."));
        return false;
    }
    QFile source(path);
    QByteArray bytes;
    if (source.open(QIODevice::ReadOnly))
        bytes = source.readAll();
    if (bytes.isEmpty() || source.error() != QFileDevice::NoError || !Snapshots::holdsProfile(path)) {
        Dialogs::error(nullptr, tr("A cópia %1 não pôde ser lida.").arg(path));
        return false;
    }
    // The state now is kept first, unsaved changes included, so that the restore can be undone.
    const QString saveError = saveStore();
    if (!saveError.isEmpty()) {
        Dialogs::error(nullptr, tr("Nada foi restaurado: as notas atuais não puderam ser salvas.") + QLatin1Char('\n') + saveError);
        return false;
    }
    QString error;
    const QString kept = Snapshots::take(storePath(), Clock::now(), &error);
    if (kept.isEmpty()) {
        Dialogs::error(nullptr, tr("Nada foi restaurado: não foi possível guardar as notas atuais em um instantâneo.")
                                    + QLatin1Char('\n') + error);
        return false;
    }
    // The notes are let go only once the copy is in place: a copy that cannot be written
    // leaves everything as it was.
    if (!IniFile::saveBytes(storePath(), bytes, &error)) {
        Dialogs::error(nullptr, tr("Nada foi restaurado.") + QLatin1Char('\n') + error);
        return false;
    }
    m_saveCache.clear();
    m_ringingNote = -1;
    setAlarmAnimation(false);
    releaseNotesForReload();
    startupStep();
    m_lastSnapshotAt = Clock::now();
    m_lastSnapshotNotes.clear();
    m_table.forEach([this](int, TfPostIt *note) { m_lastSnapshotNotes.append(note->data()); });
    return true;
}

TfrmRestaurarCopia *TfStickyNote::restoreDialog()
{
    if (!m_restoreDialog) {
        m_restoreDialog = new TfrmRestaurarCopia(*this, this);
        connect(m_restoreDialog, &TfrmRestaurarCopia::helpRequested, this, &TfStickyNote::showHelp);
    }
    return m_restoreDialog;
}

void TfStickyNote::openRestore()
{
    TfrmRestaurarCopia *dialog = restoreDialog();
    dialog->refresh();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
