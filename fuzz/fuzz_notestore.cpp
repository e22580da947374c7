// The store on any file: load, save onto the same file, load again. Every setting and every
// note must come back as it was saved (texts only where the profile rules let a text read back
// as written), and saving the same state twice must give the same bytes.
#include "FuzzCheck.h"
#include "platform/TextCodec.h"
#include "store/NoteStore.h"
#include "store/StoreValues.h"

namespace {

const QDateTime kLoadMoment(QDate(2031, 5, 17), QTime(9, 41, 7));
const QString kLogin = QStringLiteral("fuzz");
const QString kFolder = QStringLiteral("/opt/corkvane/");

// Every text goes through the file as it is, blanks and quotes at its ends included, but for
// line breaks, which a value cannot hold (a note's text has its own for them).
bool stable(const QString &stored)
{
    const QByteArray bytes = TextCodec::toWin1252(stored);
    return !bytes.contains('\r') && !bytes.contains('\n');
}

// Texts with line breaks are compared only where they are kept as written.
void sameText(const QString &saved, const QString &loaded)
{
    if (stable(saved))
        FUZZ_CHECK(loaded == saved);
}

void sameNote(const NoteData &a, const NoteData &b)
{
    NoteData x = a;
    NoteData y = b;
    sameText(a.caption, b.caption);
    sameText(a.font.name, b.font.name);
    sameText(a.rodape, b.rodape);
    const QString storedText = StoreValues::encodeNoteText(a.note);
    if (stable(storedText))
        FUZZ_CHECK(b.note == StoreValues::decodeNoteText(storedText));
    if (a.alarm) {
        sameText(a.soundFile, b.soundFile);
        FUZZ_CHECK(a.alarmDateTime.isValid());
        FUZZ_CHECK(b.alarmDateTime == a.alarmDateTime);
    }
    x.caption = y.caption = x.font.name = y.font.name = x.rodape = y.rodape = x.note = y.note
        = x.soundFile = y.soundFile = QString();
    x.alarmDateTime = y.alarmDateTime = QDateTime();
    FUZZ_CHECK(x == y);
}

void sameSettings(const AppSettings &a, const AppSettings &b)
{
    const GeneralSettings &g = a.recGeral;
    const GeneralSettings &h = b.recGeral;
    for (auto [s, t] : {std::pair{g.SoundNewSticky, h.SoundNewSticky}, {g.User, h.User},
                        {g.SoundDelSticky, h.SoundDelSticky}, {g.SoundRecSticky, h.SoundRecSticky},
                        {g.BackupPath, h.BackupPath}, {g.DefaultFont.name, h.DefaultFont.name},
                        {a.recRede.SMTPServer, b.recRede.SMTPServer},
                        {a.recRede.SMTPPort, b.recRede.SMTPPort}, {a.recRede.Email, b.recRede.Email},
                        {a.recRede.Username, b.recRede.Username},
                        {a.recRede.Password, b.recRede.Password},
                        {a.recRede.PortTCP, b.recRede.PortTCP}})
        sameText(s, t);
    FUZZ_CHECK(a.recRede.BlockList.size() == b.recRede.BlockList.size());
    for (qsizetype i = 0; i < a.recRede.BlockList.size(); ++i)
        sameText(a.recRede.BlockList[i], b.recRede.BlockList[i]);

    AppSettings x = a;
    AppSettings y = b;
    for (AppSettings *s : {&x, &y}) {
        GeneralSettings &e = s->recGeral;
        e.SoundNewSticky = e.User = e.SoundDelSticky = e.SoundRecSticky = e.BackupPath
            = e.DefaultFont.name = QString();
        NetworkSettings &r = s->recRede;
        r.SMTPServer = r.SMTPPort = r.Email = r.Username = r.Password = r.PortTCP = QString();
        r.BlockList.clear();
    }
    FUZZ_CHECK(x == y);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    IniFile ini(input);
    // Hundreds of notes and block list entries are the benchmark's business; here they would
    // only slow the search down.
    if (ini.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0) > 40
        || ini.readInteger(QStringLiteral("network"), QStringLiteral("Listcount"), 0) > 40)
        return -1;

    const LoadedStore first = NoteStore::read(ini, kLoadMoment, kLogin, kFolder);
    FUZZ_CHECK(first.notes.size() <= NoteStore::kMaxNotes);
    const bool portuguese = size % 2 == 0;
    NoteStore::write(ini, first.settings, first.notes, portuguese);
    const QByteArray saved = ini.toBytes();
    NoteStore::write(ini, first.settings, first.notes, portuguese);
    fuzzSameBytes(saved, ini.toBytes(), "two saves of the same state");

    const LoadedStore second = NoteStore::read(IniFile(saved), kLoadMoment, kLogin, kFolder);
    FUZZ_CHECK(second.notes.size() == first.notes.size());
    FUZZ_CHECK(second.declaredNotes == first.notes.size());
    FUZZ_CHECK(!second.truncated);
    FUZZ_CHECK(second.defaultLang == (portuguese ? QStringLiteral("Port") : QStringLiteral("Eng")));
    sameSettings(first.settings, second.settings);
    for (qsizetype n = 0; n < first.notes.size(); ++n)
        sameNote(first.notes[n], second.notes[n]);
    return 0;
}
