#include "store/NoteStore.h"

#include "store/StoreValues.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <sys/stat.h>

namespace {

const QString kGeneral = QStringLiteral("General");
// The network keys are addressed with two spellings; both name the one section.
const QString kNetworkEnabled = QStringLiteral("Network");
const QString kNetwork = QStringLiteral("network");
const QString kSync = QStringLiteral("Sync");

// Dia1 (Sunday) .. Dia7 (Saturday).
const QString kDayKeys[7] = {
    QStringLiteral("Dia1"), QStringLiteral("Dia2"), QStringLiteral("Dia3"), QStringLiteral("Dia4"),
    QStringLiteral("Dia5"), QStringLiteral("Dia6"), QStringLiteral("Dia7")};

} // namespace

NoteData NoteStore::readNoteSection(const IniFile &ini, const QString &s, const QDateTime &loadMoment,
                                    const NoteSizeLimits &sizes)
{
    NoteData n;
    n.alarm = ini.readBool(s, QStringLiteral("alarm"), false);
    if (n.alarm) {
        n.alarmDateTime = StoreValues::parseDateTime(
            ini.readString(s, QStringLiteral("AlarmDateTime")), loadMoment);
        n.useSound = ini.readBool(s, QStringLiteral("UseSound"), false);
        n.soundFile = ini.readString(s, QStringLiteral("SoundFile"));
        for (int d = 0; d < 7; ++d)
            n.dia[size_t(d)] = ini.readBool(s, kDayKeys[d], true);
        n.remember = ini.readBool(s, QStringLiteral("Remember"), false);
        n.rememberNo = ini.readInteger(s, QStringLiteral("RememberNo"), 1);
        n.rememberUnit = ini.readInteger(s, QStringLiteral("RememberUnit"), 0);
    }
    n.scrollbar = ini.readBool(s, QStringLiteral("scrollbar"), false);
    n.darkCaption = ini.readBool(s, QStringLiteral("DarkCaption"), false);
    n.trackPosition = ini.readInteger(s, QStringLiteral("TrackPosition"), 12);
    n.rodape = ini.readString(s, QStringLiteral("Rodape"));
    n.posx = NoteSizeLimits::boundedPosition(ini.readInteger(s, QStringLiteral("posx"), 400));
    n.posy = NoteSizeLimits::boundedPosition(ini.readInteger(s, QStringLiteral("posy"), 100));
    const QSize size = sizes.bounded(ini.readInteger(s, QStringLiteral("Width"), 180),
                                     ini.readInteger(s, QStringLiteral("Height"), 147));
    n.width = size.width();
    n.height = size.height();
    n.font.bold = ini.readInteger(s, QStringLiteral("FontBold"), 0) == 1;
    n.font.italic = ini.readInteger(s, QStringLiteral("FontItalic"), 0) == 1;
    n.color = ini.readInteger(s, QStringLiteral("Color"), kDefaultNoteColour);
    n.visible = ini.readBool(s, QStringLiteral("visible"), true);
    n.font.name = ini.readString(s, QStringLiteral("FontName"), QStringLiteral("Arial"));
    n.font.size = ini.readInteger(s, QStringLiteral("FontSize"), 10);
    n.font.colour = ini.readInteger(s, QStringLiteral("FontColor"), 0);
    n.caption = ini.readString(s, QStringLiteral("caption"));
    n.note = StoreValues::decodeNoteText(ini.readString(s, QStringLiteral("note")));
    n.topmost = ini.readBool(s, QStringLiteral("topmost"), false);
    n.syncId = ini.readString(s, QStringLiteral("SyncId"));
    return n;
}

void NoteStore::writeNoteSection(IniFile &ini, const QString &s, const NoteData &n)
{
    ini.writeString(s, QStringLiteral("caption"), n.caption);
    ini.writeBool(s, QStringLiteral("visible"), n.visible);
    ini.writeBool(s, QStringLiteral("topmost"), n.topmost);
    if (n.alarm) {
        ini.writeBool(s, QStringLiteral("alarm"), true);
        ini.writeString(s, QStringLiteral("AlarmDateTime"),
                        StoreValues::formatDateTime(n.alarmDateTime));
        ini.writeBool(s, QStringLiteral("UseSound"), n.useSound);
        ini.writeString(s, QStringLiteral("SoundFile"), n.soundFile);
        for (int d = 0; d < 7; ++d)
            ini.writeBool(s, kDayKeys[d], n.dia[size_t(d)]);
        ini.writeBool(s, QStringLiteral("Remember"), n.remember);
        ini.writeInteger(s, QStringLiteral("RememberNo"), n.rememberNo);
        ini.writeInteger(s, QStringLiteral("RememberUnit"), n.rememberUnit);
    }
    ini.writeString(s, QStringLiteral("note"), StoreValues::encodeNoteText(n.note));
    ini.writeBool(s, QStringLiteral("scrollbar"), n.scrollbar);
    ini.writeBool(s, QStringLiteral("DarkCaption"), n.darkCaption);
    ini.writeInteger(s, QStringLiteral("TrackPosition"), n.trackPosition);
    ini.writeInteger(s, QStringLiteral("posx"), n.posx);
    ini.writeInteger(s, QStringLiteral("posy"), n.posy);
    ini.writeInteger(s, QStringLiteral("Width"), n.width);
    ini.writeInteger(s, QStringLiteral("Height"), n.height);
    ini.writeString(s, QStringLiteral("FontName"), n.font.name);
    ini.writeInteger(s, QStringLiteral("FontSize"), n.font.size);
    ini.writeInteger(s, QStringLiteral("FontColor"), n.font.colour);
    ini.writeInteger(s, QStringLiteral("FontBold"), n.font.bold ? 1 : 0);
    ini.writeInteger(s, QStringLiteral("FontItalic"), n.font.italic ? 1 : 0);
    ini.writeInteger(s, QStringLiteral("Color"), n.color);
    if (!n.rodape.isEmpty())
        ini.writeString(s, QStringLiteral("Rodape"), n.rodape);
    // Last, so that a section read by an installation that does not sync differs only by a
    // trailing line it drops.
    if (!n.syncId.isEmpty())
        ini.writeString(s, QStringLiteral("SyncId"), n.syncId);
}

namespace {

// A note section that a hand-edited file repeats goes with all its copies: the note written in
// its place would otherwise land in the next copy and pick up keys of its own from it, such as
// an alarm the note does not have.
void eraseEveryCopy(IniFile &ini, const QString &section)
{
    while (ini.sectionExists(section))
        ini.eraseSection(section);
}

// The table slots whose sections the file has, found from the sections it holds rather than by
// asking for all thousand names. The match is looser than the profile's (blanks and controls
// at either end, any case, leading zeros): a slot found by mistake is one the save erases
// anyway, while a slot missed would keep its old keys.
QList<int> noteSectionsIn(const IniFile &ini)
{
    static const QLatin1StringView prefix("stick");
    QList<int> found;
    for (const QString &name : ini.sections()) {
        QStringView v(name);
        while (!v.isEmpty() && v.front().unicode() <= ' ')
            v = v.sliced(1);
        while (!v.isEmpty() && v.back().unicode() <= ' ')
            v.chop(1);
        if (v.size() <= prefix.size() || !v.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int n = v.sliced(prefix.size()).toInt(&ok);
        if (ok && n >= 0 && n < NoteStore::kMaxNotes && v[prefix.size()].isDigit())
            found << n;
    }
    return found;
}

// How many of the sections Stick0, Stick1, ... the file holds one after the other from Stick0,
// counting no further than `limit`.
int noteSectionRun(const IniFile &ini, int limit)
{
    int run = 0;
    while (run < limit && ini.sectionExists(NoteStore::sectionName(run)))
        ++run;
    return run;
}

} // namespace

QSize NoteSizeLimits::bounded(int width, int height) const
{
    const auto one = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    return QSize(one(width, minimum.width(), maximum.width()), one(height, minimum.height(), maximum.height()));
}

int NoteSizeLimits::boundedPosition(int position)
{
    return std::clamp(position, -kFarthestPosition, kFarthestPosition);
}

LoadedStore NoteStore::read(const IniFile &ini, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder,
                            const NoteSizeLimits &sizes)
{
    LoadedStore out;
    const int declared = ini.readInteger(kGeneral, QStringLiteral("NumStickies"), 0);
    out.declaredNotes = declared;

    GeneralSettings &g = out.settings.recGeral;
    g.UseSounds = ini.readBool(kGeneral, QStringLiteral("UseSounds"), false);
    g.User = ini.readString(kGeneral, QStringLiteral("User"), loginName);
    g.SoundNewSticky = ini.readString(kGeneral, QStringLiteral("SoundNewSticky"),
                                      programFolder + QStringLiteral("boing.wav"));
    g.SoundDelSticky = ini.readString(kGeneral, QStringLiteral("SoundDelSticky"),
                                      programFolder + QStringLiteral("recycle.wav"));
    g.SoundRecSticky = ini.readString(kGeneral, QStringLiteral("SoundRecSticky"),
                                      programFolder + QStringLiteral("BIPECOMP.WAV"));
    g.AskDelete = ini.readBool(kGeneral, QStringLiteral("AskDelete"), true);
    g.NoteDaily = ini.readBool(kGeneral, QStringLiteral("NoteDaily"), false);
    g.DefaultColor = ini.readInteger(kGeneral, QStringLiteral("DefaultColor"), kDefaultNewNoteColour);
    g.BackupOnExit = ini.readBool(kGeneral, QStringLiteral("BackupOnExit"), false);
    g.BackupPath = ini.readString(kGeneral, QStringLiteral("BackupPath"));
    g.DefaultFont.name = ini.readString(kGeneral, QStringLiteral("DefaultFontName"), QStringLiteral("Arial"));
    g.DefaultFont.size = ini.readInteger(kGeneral, QStringLiteral("DefaultFontSize"), 10);
    g.DefaultFont.colour = ini.readInteger(kGeneral, QStringLiteral("DefaultFontColor"), 0);
    g.ScrollBar = ini.readBool(kGeneral, QStringLiteral("ScrollBar"), false);
    g.DarkCaption = ini.readBool(kGeneral, QStringLiteral("DarkCaption"), false);
    g.TrackPosition = ini.readInteger(kGeneral, QStringLiteral("TrackPosition"), 12);
    g.ShowDate = ini.readBool(kGeneral, QStringLiteral("ShowDate"), true);
    g.ShowTime = ini.readBool(kGeneral, QStringLiteral("ShowTime"), true);
    g.AutoSave = ini.readBool(kGeneral, QStringLiteral("AutoSave"), true);
    g.TimeAutoSave = ini.readInteger(kGeneral, QStringLiteral("TimeAutoSave"), 10);
    out.autoSaveCountdown = int(std::clamp<qint64>(qint64(g.TimeAutoSave) * 60,
                                                   std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
    out.defaultLang = ini.readString(kGeneral, QStringLiteral("DefaultLang"));

    NetworkSettings &r = out.settings.recRede;
    r.Enabled = ini.readBool(kNetworkEnabled, QStringLiteral("Enabled"), false);
    r.SMTPServer = ini.readString(kNetwork, QStringLiteral("SMTPServer"));
    r.PortTCP = ini.readString(kNetwork, QStringLiteral("PortTCP"), QStringLiteral("7801"));
    r.SMTPPort = ini.readString(kNetwork, QStringLiteral("SMTPPort"), QStringLiteral("25"));
    r.Username = ini.readString(kNetwork, QStringLiteral("Username"));
    r.Email = ini.readString(kNetwork, QStringLiteral("Email"));
    r.Password = ini.readString(kNetwork, QStringLiteral("Password"));
    r.Blocktype = ini.readInteger(kNetwork, QStringLiteral("Blocktype"), 0);
    r.Authtype = ini.readInteger(kNetwork, QStringLiteral("Authtype"), 0);
    r.SMTPSecurity = ini.readInteger(kNetwork, QStringLiteral("SMTPSecurity"), 0);

    r.BlockList.clear();
    const int listCount = std::min(ini.readInteger(kNetwork, QStringLiteral("Listcount"), 0),
                                   kMaxBlockListEntries);
    for (int i = 0; i < listCount; ++i)
        r.BlockList.append(ini.readString(kNetwork, QStringLiteral("List") + QString::number(i)));

    g.DefaultFont.bold = ini.readInteger(kGeneral, QStringLiteral("DefaultFontBold"), 0) == 1;
    g.DefaultFont.italic = ini.readInteger(kGeneral, QStringLiteral("DefaultFontItalic"), 0) == 1;

    out.settings.recSync.Folder = ini.readString(kSync, QStringLiteral("Folder"));
    out.settings.recSync.Device = ini.readString(kSync, QStringLiteral("Device"));

    // One section past the table tells whether the file holds more notes than it. A count of
    // exactly the table's size is what a save of a full table writes: the notes beyond it were
    // reported at the load before and stay in the file untouched. The run matters only when it
    // goes past the count, that is when the section the count would end before is there.
    const int from = std::max(declared, 0);
    const int run = from <= kMaxNotes && ini.sectionExists(sectionName(from)) ? noteSectionRun(ini, kMaxNotes + 1) : 0;
    const int count = std::min(std::max(declared, run), kMaxNotes);
    out.truncated = declared > kMaxNotes || (declared < kMaxNotes && run > kMaxNotes);
    out.notes.reserve(count);
    for (int n = 0; n < count; ++n)
        out.notes.append(readNoteSection(ini, sectionName(n), loadMoment, sizes));
    return out;
}

LoadedStore NoteStore::load(const QString &path, const QDateTime &loadMoment,
                            const QString &loginName, const QString &programFolder,
                            const NoteSizeLimits &sizes)
{
    bool readable = true;
    const IniFile ini = IniFile::fromFile(path, &readable);
    LoadedStore out = read(ini, loadMoment, loginName, programFolder, sizes);
    out.notAProfile = readable && ini.sections().isEmpty() && QFile::exists(path);
    return out;
}

namespace {

void writeSettings(IniFile &ini, const AppSettings &settings, bool portugueseActive)
{
    const GeneralSettings &g = settings.recGeral;
    ini.writeBool(kGeneral, QStringLiteral("UseSounds"), g.UseSounds);
    ini.writeString(kGeneral, QStringLiteral("SoundNewSticky"), g.SoundNewSticky);
    ini.writeString(kGeneral, QStringLiteral("DefaultLang"),
                    portugueseActive ? QStringLiteral("Port") : QStringLiteral("Eng"));
    ini.writeString(kGeneral, QStringLiteral("User"), g.User);
    ini.writeString(kGeneral, QStringLiteral("SoundDelSticky"), g.SoundDelSticky);
    ini.writeString(kGeneral, QStringLiteral("SoundRecSticky"), g.SoundRecSticky);
    ini.writeBool(kGeneral, QStringLiteral("AskDelete"), g.AskDelete);
    ini.writeBool(kGeneral, QStringLiteral("NoteDaily"), g.NoteDaily);
    ini.writeBool(kGeneral, QStringLiteral("BackupOnExit"), g.BackupOnExit);
    ini.writeString(kGeneral, QStringLiteral("BackupPath"), g.BackupPath);
    ini.writeInteger(kGeneral, QStringLiteral("DefaultColor"), g.DefaultColor);
    ini.writeString(kGeneral, QStringLiteral("DefaultFontName"), g.DefaultFont.name);
    ini.writeInteger(kGeneral, QStringLiteral("DefaultFontSize"), g.DefaultFont.size);
    ini.writeInteger(kGeneral, QStringLiteral("DefaultFontColor"), g.DefaultFont.colour);
    ini.writeBool(kGeneral, QStringLiteral("ScrollBar"), g.ScrollBar);
    ini.writeBool(kGeneral, QStringLiteral("DarkCaption"), g.DarkCaption);
    ini.writeInteger(kGeneral, QStringLiteral("TrackPosition"), g.TrackPosition);
    ini.writeBool(kGeneral, QStringLiteral("ShowDate"), g.ShowDate);
    ini.writeBool(kGeneral, QStringLiteral("ShowTime"), g.ShowTime);
    ini.writeInteger(kGeneral, QStringLiteral("DefaultFontBold"), g.DefaultFont.bold ? 1 : 0);
    ini.writeInteger(kGeneral, QStringLiteral("DefaultFontItalic"), g.DefaultFont.italic ? 1 : 0);
    ini.writeBool(kGeneral, QStringLiteral("AutoSave"), g.AutoSave);
    ini.writeInteger(kGeneral, QStringLiteral("TimeAutoSave"), g.TimeAutoSave);

    const NetworkSettings &r = settings.recRede;
    ini.writeBool(kNetworkEnabled, QStringLiteral("Enabled"), r.Enabled);
    ini.writeString(kNetwork, QStringLiteral("PortTCP"), r.PortTCP);
    ini.writeString(kNetwork, QStringLiteral("SMTPServer"), r.SMTPServer);
    ini.writeString(kNetwork, QStringLiteral("SMTPPort"), r.SMTPPort);
    ini.writeString(kNetwork, QStringLiteral("Username"), r.Username);
    ini.writeString(kNetwork, QStringLiteral("Email"), r.Email);
    ini.writeString(kNetwork, QStringLiteral("Password"), r.Password);
    ini.writeInteger(kNetwork, QStringLiteral("Blocktype"), r.Blocktype);
    ini.writeInteger(kNetwork, QStringLiteral("Authtype"), r.Authtype);
    ini.writeInteger(kNetwork, QStringLiteral("SMTPSecurity"), r.SMTPSecurity);

    // List keys beyond the new count stay in the file; Listcount hides them.
    ini.writeInteger(kNetwork, QStringLiteral("Listcount"), int(r.BlockList.size()));
    for (int i = 0; i < r.BlockList.size(); ++i)
        ini.writeString(kNetwork, QStringLiteral("List") + QString::number(i), r.BlockList.at(i));

    // A store that never synced keeps the bytes it always had.
    const SyncSettings &sync = settings.recSync;
    if (!sync.Folder.isEmpty() || !sync.Device.isEmpty() || ini.sectionExists(kSync)) {
        ini.writeString(kSync, QStringLiteral("Folder"), sync.Folder);
        ini.writeString(kSync, QStringLiteral("Device"), sync.Device);
    }
}

// Sections beyond the table's range (a hand-edited file with more notes than the table holds)
// are left alone: NumStickies no longer reaches them.
void eraseNoteSections(IniFile &ini)
{
    for (const int n : noteSectionsIn(ini))
        eraseEveryCopy(ini, NoteStore::sectionName(n));
}

// Note `slot`'s section as a save appends it to the file.
QByteArray noteSectionBytes(int slot, const NoteData &note)
{
    IniFile section;
    NoteStore::writeNoteSection(section, NoteStore::sectionName(slot), note);
    return section.toBytes();
}

} // namespace

void NoteStore::write(IniFile &ini, const AppSettings &settings,
                      const QList<NoteData> &notesInTableOrder, bool portugueseActive)
{
    writeSettings(ini, settings, portugueseActive);
    eraseNoteSections(ini);

    int j = 0;
    for (const NoteData &note : notesInTableOrder) {
        const QString section = sectionName(j);
        // The table never holds more than kMaxNotes notes; should a caller pass more, no note
        // may inherit the keys of a section left over in the file.
        if (j >= kMaxNotes)
            eraseEveryCopy(ini, section);
        writeNoteSection(ini, section, note);
        ++j;
    }
    ini.writeInteger(kGeneral, QStringLiteral("NumStickies"), j);
}

SaveResult NoteStore::save(const QString &path, const AppSettings &settings,
                           const QList<NoteData> &notesInTableOrder, bool portugueseActive)
{
    return save(path, settings, notesInTableOrder, portugueseActive, nullptr);
}

SaveResult NoteStore::save(const QString &path, const AppSettings &settings,
                           const QList<NoteData> &notesInTableOrder, bool portugueseActive, SaveCache *cache)
{
    SaveResult result;
    // More notes than the table holds are no case for the cache: the plain way handles them.
    if (notesInTableOrder.size() > kMaxNotes && cache)
        cache->clear();
    if (!cache || notesInTableOrder.size() > kMaxNotes) {
        bool readable = true;
        QString reason;
        IniFile ini = IniFile::fromFile(path, &readable, &reason);
        // A file that exists but cannot be read is not replaced: its other sections (the
        // contact book) would be lost.
        if (!readable) {
            result.error = IniFile::writeErrorText(path, reason);
            return result;
        }
        write(ini, settings, notesInTableOrder, portugueseActive);
        result.ok = ini.saveToFile(path, &result.error);
        return result;
    }

    // The file's other sections: from the cache while the file is the one the last save left,
    // read afresh otherwise (another writer, such as the contact book, has been at it).
    IniFile head;
    if (cache->m_valid && cache->m_path == path && cache->m_stamp == FileStamp::of(path)) {
        head = cache->m_head;
    } else {
        cache->clear();
        bool readable = true;
        QString reason;
        head = IniFile::fromFile(path, &readable, &reason);
        if (!readable) {
            result.error = IniFile::writeErrorText(path, reason);
            return result;
        }
        eraseNoteSections(head);
    }
    writeSettings(head, settings, portugueseActive);
    head.writeInteger(kGeneral, QStringLiteral("NumStickies"), int(notesInTableOrder.size()));

    // The same bytes as write() gives: the other sections, then the notes' in table order. A
    // note's section is made again only when the note differs from the one last saved there.
    QList<QByteArray> sections;
    sections.reserve(notesInTableOrder.size());
    QByteArray bytes = head.toBytes();
    qsizetype total = bytes.size();
    for (qsizetype j = 0; j < notesInTableOrder.size(); ++j) {
        const NoteData &note = notesInTableOrder.at(j);
        if (j < cache->m_notes.size() && cache->m_notes.at(j) == note)
            sections.append(cache->m_sections.at(j));
        else
            sections.append(noteSectionBytes(int(j), note));
        total += sections.back().size();
    }
    bytes.reserve(total);
    for (const QByteArray &section : sections)
        bytes += section;

    result.ok = IniFile::saveBytes(path, bytes, &result.error);
    if (!result.ok) {
        cache->clear();
        return result;
    }
    cache->m_valid = true;
    cache->m_path = path;
    cache->m_stamp = FileStamp::of(path);
    cache->m_head = std::move(head);
    cache->m_notes = notesInTableOrder;
    cache->m_sections = std::move(sections);
    return result;
}

void NoteStore::SaveCache::clear()
{
    *this = SaveCache();
}

NoteStore::FileStamp NoteStore::FileStamp::of(const QString &path)
{
    FileStamp stamp;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

QString NoteStore::readDefaultLang(const QString &path)
{
    return IniFile::fromFile(path).readString(kGeneral, QStringLiteral("DefaultLang"));
}

QString NoteStore::tooManyNotesText()
{
    return tr("O arquivo de notas contém mais de %1 notas. Somente as primeiras %1 foram "
              "carregadas; as demais permanecem no arquivo, mas não serão exibidas.")
        .arg(kMaxNotes);
}
