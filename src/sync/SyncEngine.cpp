#include "sync/SyncEngine.h"

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "sync/SyncFolder.h"
#include "sync/SyncNoteFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

// A burst of change notices (the engine writing many files) makes one merge.
constexpr int kSettleMs = 300;
// A file the engine is still moving into place is looked at again this soon.
constexpr int kRetryMs = 2000;

bool sameNote(NoteData a, const NoteData &b)
{
    // The identity may have been given in this very merge.
    a.syncId = b.syncId;
    return a == b;
}

} // namespace

SyncEngine::SyncEngine(SyncHost &host, QObject *parent) : QObject(parent), m_host(host)
{
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(30000);
    m_rescan.setInterval(kRescanMs);
    connect(&m_rescan, &QTimer::timeout, this, &SyncEngine::requestMerge);
    m_soon.setSingleShot(true);
    connect(&m_soon, &QTimer::timeout, this, &SyncEngine::requestMerge);
}

SyncEngine::~SyncEngine()
{
    m_pool.waitForDone();
}

void SyncEngine::configure(const QString &folder, const QString &device, const QString &statePath)
{
    const QString cleaned = folder.trimmed().isEmpty() ? QString() : QDir::cleanPath(folder.trimmed());
    if (cleaned == m_folder && device == m_device && statePath == m_statePath && m_merger)
        return;
    // Work under way for the old folder finishes on its own merger and is then let go.
    m_folder = cleaned;
    m_device = device;
    m_statePath = statePath;
    m_merger = std::make_shared<SyncMerger>();
    ++m_generation;
    delete m_watcher;
    m_watcher = nullptr;
    m_reportedUnreadable.clear();
    m_reportedNoRoom.clear();
    m_outcome = SyncOutcome();
    m_shown = SyncOutcome();
    if (m_folder.isEmpty()) {
        m_rescan.stop();
        m_soon.stop();
        return;
    }
    m_shown = m_merger->storedOutcome(m_statePath, m_folder, m_device);
    m_rescan.start();
    watchFolder();
}

bool SyncEngine::watchFolder()
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_soon.start(kSettleMs); });
    }
    const SyncFolder folder(m_folder);
    QStringList wanted;
    for (const QString &path : {folder.root(), folder.notesFolder(), folder.deletedFolder()})
        if (QFileInfo(path).isDir())
            wanted << path;
    const QStringList watched = m_watcher->directories();
    QStringList missing;
    for (const QString &path : wanted)
        if (!watched.contains(path))
            missing << path;
    if (missing.isEmpty())
        return false;
    m_watcher->addPaths(missing);
    return true;
}

SyncRequest SyncEngine::requestForNotesHere() const
{
    SyncRequest request;
    request.folder = m_folder;
    request.device = m_device;
    request.statePath = m_statePath;
    request.now = Clock::now();
    request.locals = m_host.localNotes();
    return request;
}

bool SyncEngine::restartIfStale(const std::shared_ptr<SyncMerger> &merger)
{
    if (merger == m_merger)
        return false;
    // The work was for a folder no longer in use: what it found is dropped, and the folder in
    // use now gets a merge of its own.
    m_phase = Phase::Idle;
    requestMerge();
    return true;
}

void SyncEngine::requestMerge()
{
    if (!enabled() || m_stopping)
        return;
    if (m_phase != Phase::Idle) {
        m_pending = true;
        return;
    }
    startMerge();
}

void SyncEngine::storeSaved()
{
    requestMerge();
}

void SyncEngine::startMerge()
{
    m_pending = false;
    if (!enabled() || m_stopping || !m_host.notesReady())
        return;
    SyncRequest request = requestForNotesHere();
    const quint64 generation = m_host.notesGeneration() ^ (m_generation << 32);
    m_phase = Phase::Planning;
    std::shared_ptr<SyncMerger> merger = m_merger;
    m_pool.start([this, merger, request = std::move(request), generation] {
        SyncPlan plan = merger->plan(request);
        QMetaObject::invokeMethod(this, [this, merger, plan = std::move(plan), generation] {
            if (!restartIfStale(merger))
                planned(plan, generation);
        }, Qt::QueuedConnection);
    });
}

void SyncEngine::planned(const SyncPlan &plan, quint64 generation)
{
    m_plan = plan;
    if (!m_plan.failure.isEmpty() && !QFileInfo(m_folder).isDir())
        m_plan.failure = tr("a pasta %1 não existe").arg(QDir::toNativeSeparators(m_folder));
    m_done = QList<bool>(plan.changes.size(), false);
    m_next = 0;
    m_localChanged = false;
    m_noRoomNow.clear();
    m_phase = Phase::Applying;
    if (plan.retrySoon && !m_soon.isActive())
        m_soon.start(kRetryMs);
    reportOnce(plan);
    // The notes were let go and read again meanwhile: the plan speaks of other windows.
    if (generation != (m_host.notesGeneration() ^ (m_generation << 32)) || !m_host.notesReady())
        m_next = plan.changes.size();
    applySlice();
}

bool SyncEngine::carryOut(const SyncLocalChange &change)
{
    switch (change.kind) {
    case SyncLocalChange::Kind::AssignId:
        return m_host.assignSyncId(change.slot, change.syncId);
    case SyncLocalChange::Kind::Apply: {
        const std::optional<NoteData> now = m_host.noteAt(change.slot);
        if (!now || !sameNote(*now, change.expected))
            return false;
        NoteData merged = SyncNoteFile::withLocalFields(change.incoming, *now);
        merged.syncId = change.syncId;
        return m_host.applyToNote(change.slot, merged);
    }
    case SyncLocalChange::Kind::Create: {
        if (m_host.hasSyncId(change.syncId))
            return false;
        NoteData note = change.incoming;
        note.syncId = change.syncId;
        if (m_host.createNote(note))
            return true;
        m_noRoomNow << change.syncId;
        return false;
    }
    case SyncLocalChange::Kind::Trash: {
        const std::optional<NoteData> now = m_host.noteAt(change.slot);
        if (!now || !sameNote(*now, change.expected))
            return false;
        return m_host.trashNote(change.slot);
    }
    }
    return false;
}

void SyncEngine::applySlice()
{
    QElapsedTimer slice;
    slice.start();
    const quint64 generation = m_host.notesGeneration();
    while (m_next < m_plan.changes.size()) {
        if (!m_host.notesReady())
            break;
        if (carryOut(m_plan.changes[m_next])) {
            m_done[m_next] = true;
            m_localChanged = true;
        }
        ++m_next;
        if (m_host.notesGeneration() != generation)
            break;
        if (slice.elapsed() >= kSliceMs && m_next < m_plan.changes.size()) {
            QTimer::singleShot(0, this, [this, merger = m_merger] {
                if (merger == m_merger && m_phase == Phase::Applying)
                    applySlice();
            });
            return;
        }
    }
    if (m_next < m_plan.changes.size() || m_host.notesGeneration() != generation)
        m_next = m_plan.changes.size();  // the notes went away under the merge
    finishApplying();
}

void SyncEngine::finishApplying()
{
    // What the notes here took is read for the store now; it is written on the worker.
    std::function<QString()> save;
    if (m_localChanged && m_host.notesReady())
        save = m_host.prepareSave();
    if (!m_noRoomNow.isEmpty()) {
        QStringList fresh;
        for (const QString &id : std::as_const(m_noRoomNow))
            if (!m_reportedNoRoom.contains(id))
                fresh << id;
        for (const QString &id : std::as_const(fresh))
            m_reportedNoRoom.insert(id);
        if (!fresh.isEmpty())
            m_host.report(tr("%1 nota(s) da pasta de sincronização não cabem nas 1001 notas desta sessão e "
                             "ficaram na pasta. Apague notas que não usa, salve e abra o Corkvane de novo "
                             "para recebê-las.")
                              .arg(m_noRoomNow.size()));
    }
    m_phase = Phase::Committing;
    std::shared_ptr<SyncMerger> merger = m_merger;
    const QDateTime now = Clock::now();
    m_pool.start([this, merger, plan = m_plan, done = m_done, save = std::move(save), now] {
        const QString saveError = save ? save() : QString();
        SyncOutcome shown;
        const SyncOutcome outcome = merger->commit(plan, done, saveError.isEmpty(), now, &shown);
        QMetaObject::invokeMethod(this, [this, merger, outcome, shown, saveError, saved = bool(save)] {
            if (saved)
                m_host.saveFinished(saveError);
            if (!restartIfStale(merger))
                committed(outcome, shown);
        }, Qt::QueuedConnection);
    });
}

void SyncEngine::committed(const SyncOutcome &outcome, const SyncOutcome &shown)
{
    m_outcome = outcome;
    m_shown = shown;
    m_plan = SyncPlan();
    m_done.clear();
    m_phase = Phase::Idle;
    // notes/ and deleted/ may have been made by this merge, or by the file-sync engine while it
    // ran: what landed in them before they were watched brings no notice, so look once more
    // instead of waiting for the rescan.
    if (watchFolder())
        m_soon.start(kSettleMs);
    emit mergeFinished(outcome);
    if (m_pending)
        startMerge();
}

void SyncEngine::reportOnce(const SyncPlan &plan)
{
    QStringList fresh;
    for (const QString &path : plan.unreadable)
        if (!m_reportedUnreadable.contains(path))
            fresh << QDir::toNativeSeparators(path);
    for (const QString &path : plan.unreadable)
        m_reportedUnreadable.insert(path);
    if (!fresh.isEmpty())
        m_host.report(tr("Estes arquivos da pasta de sincronização não puderam ser lidos e foram deixados "
                         "onde estão:\n%1")
                          .arg(fresh.join(QLatin1Char('\n'))));
}

void SyncEngine::pushBeforeExit()
{
    m_pool.waitForDone();
    if (!enabled() || !m_merger || !m_host.notesReady())
        return;
    SyncRequest request = requestForNotesHere();
    request.pushOnly = true;
    const SyncPlan plan = m_merger->plan(request);
    m_outcome = m_merger->commit(plan, {}, true, request.now, &m_shown);
    m_folder.clear();
    m_rescan.stop();
    m_soon.stop();
    // Whatever a merge under way still had to do here is dropped.
    m_merger.reset();
    m_phase = Phase::Idle;
}

QString SyncEngine::statusText() const
{
    if (!enabled())
        return tr("Sincronização desligada.");
    const bool quietSince = m_outcome.when.isValid() && m_outcome.failure.isEmpty() && m_outcome.when > m_shown.when;
    return describe(m_shown, Clock::now(), quietSince ? m_outcome.when : QDateTime());
}

QString SyncEngine::describe(const SyncOutcome &outcome, const QDateTime &now, const QDateTime &quietUntil)
{
    if (!outcome.when.isValid())
        return tr("Última sincronização: nenhuma ainda.");
    const auto moment = [&now](const QDateTime &utc) {
        const QDateTime local = utc.toLocalTime();
        const QString time = local.time().toString(QStringLiteral("HH:mm"));
        return local.date() == now.date() ? time : Locale::formatDate(local.date()) + QLatin1Char(' ') + time;
    };
    const QString when = moment(outcome.when);
    if (!outcome.failure.isEmpty())
        return tr("Última sincronização: %1 — falhou: %2").arg(when, outcome.failure);
    QStringList parts;
    const auto count = [&parts](int n, const QString &one, const QString &many) {
        if (n == 1)
            parts << one;
        else if (n > 1)
            parts << many.arg(n);
    };
    count(outcome.received, tr("1 recebida"), tr("%1 recebidas"));
    count(outcome.sent, tr("1 enviada"), tr("%1 enviadas"));
    count(outcome.conflicts, tr("1 conflito"), tr("%1 conflitos"));
    count(outcome.deleted, tr("1 apagada"), tr("%1 apagadas"));
    QString text = parts.isEmpty() ? tr("Última sincronização: %1 — nada mudou").arg(when)
                                   : tr("Última sincronização: %1 — %2").arg(when, parts.join(QStringLiteral(", ")));
    // Quiet merges are told only once they reach a later minute than the one shown.
    if (quietUntil.isValid() && moment(quietUntil) != when)
        text += tr("; nada novo até %1").arg(moment(quietUntil));
    return text;
}
