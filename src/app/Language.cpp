#include "app/Language.h"

#include "app/StickyNote.h"
#include "app/TrayMenu.h"
#include "alarms/MostraAlarmes.h"
#include "net/NoteServer.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/NoteStore.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The platform's abbreviation of each language the program knows.
QString abbreviation(int localeId)
{
    switch (localeId) {
    case LanguageModules::kPortuguese:
        return QStringLiteral("ptb");
    case LanguageModules::kEnglish:
        return QStringLiteral("enu");
    default:
        return {};
    }
}

// A module larger than this is not one of ours; reading it whole would only waste memory.
constexpr qint64 kMaxModuleBytes = 16 * 1024 * 1024;

} // namespace

LanguageModules::LanguageModules(const QString &programFolder) : m_folder(Paths::withSlash(programFolder)) {}

LanguageModules::~LanguageModules()
{
    // Deleting an installed translator removes it from the application.
    m_program.reset();
    m_qt.reset();
}

QStringList LanguageModules::candidateFiles(const QString &programFolder, int localeId)
{
    const QString abbr = abbreviation(localeId);
    if (abbr.isEmpty())
        return {};
    const QString base = Paths::withSlash(programFolder) + QStringLiteral("corkvane.");
    return {base + abbr, base + abbr.left(2)};
}

QString LanguageModules::qtCatalogueName(int localeId)
{
    return localeId == kPortuguese ? QStringLiteral("qt_pt_BR") : QString();
}

bool LanguageModules::load(int localeId)
{
    for (const QString &file : candidateFiles(m_folder, localeId)) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxModuleBytes)
            continue;
        QByteArray data = in.readAll();
        auto translator = std::make_unique<QTranslator>();
        if (data.isEmpty()
            || !translator->load(reinterpret_cast<const uchar *>(data.constData()), int(data.size()), m_folder))
            continue;
        // The new module goes in before the old one goes out, so that no moment shows a mix.
        QCoreApplication::installTranslator(translator.get());
        m_program = std::move(translator);
        m_data = std::move(data);
        m_locale = localeId;
        m_file = file;
        loadQt(localeId);
        return true;
    }
    return false;
}

void LanguageModules::useBuiltIn()
{
    m_program.reset();
    m_data.clear();
    m_locale = 0;
    m_file.clear();
    loadQt(kPortuguese);
}

void LanguageModules::loadQt(int localeId)
{
    const QString name = qtCatalogueName(localeId);
    if (name.isEmpty()) {
        m_qt.reset();
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    // Without Qt's catalogue installed, Qt's texts stay in its built-in English.
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        m_qt.reset();
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    m_qt = std::move(translator);
}

bool LanguageModules::qtTranslated() const
{
    return m_qt != nullptr;
}

// --- the controller's part ---------------------------------------------------------------

void TfStickyNote::checkLanguage(int localeId)
{
    m_trayMenu->setActiveLanguage(localeId);
    m_language = localeId == LanguageModules::kPortuguese ? Language::Portuguese
                 : localeId == LanguageModules::kEnglish  ? Language::English
                                                          : Language::None;
}

bool TfStickyNote::SwitchLanguage(int localeId)
{
    if (!m_modules->load(localeId))
        return false;  // no module: not even the check marks change
    checkLanguage(localeId);

    const bool hadNotes = m_table.count() > 0;
    if (hadNotes) {
        // The save comes before the server stops (nothing runs in between, so the file is the
        // same): when it fails, discarding the notes would throw away everything since the last
        // good save, so they stay, with the server and its notes in progress, and take the new
        // language in place.
        const QString error = saveStore();
        if (!error.isEmpty()) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            checkLanguage(localeId);
            reportSaveFailure(error, SaveOrigin::User);
            return true;
        }
        // The load renumbers the notes without gaps in slot order: the ringing note keeps
        // ringing under its new number.
        int rank = 0;
        int ringing = -1;
        m_table.forEach([&](int slot, TfPostIt *) {
            if (slot == m_ringingNote)
                ringing = rank;
            ++rank;
        });
        m_ringingNote = ringing;
        if (ringing < 0)
            setAlarmAnimation(false);
        releaseNotesForReload();
    }

    // Every form reads its texts again now, not at some later turn of the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    checkLanguage(localeId);

    if (hadNotes)
        m_tmrInicio.start();
    emit languageSwitched(localeId);
    return true;
}

void TfStickyNote::chooseStartupLanguage()
{
    const QString lang = NoteStore::readDefaultLang(storePath());
    int localeId = 0;
    if (!lang.isEmpty())
        localeId = lang.toUpper() == QLatin1String("PORT") ? LanguageModules::kPortuguese : LanguageModules::kEnglish;
    else if (Locale::userLocaleId() == Locale::kEnglishUS)
        localeId = LanguageModules::kEnglish;
    else if (Locale::userLocaleId() == Locale::kPortugueseBrazil)
        localeId = LanguageModules::kPortuguese;

    if (localeId != 0 && SwitchLanguage(localeId))
        return;
    // The built-in Portuguese stays and nothing is checked; Qt's own texts still follow it.
    m_modules->useBuiltIn();
    checkLanguage(0);
}
