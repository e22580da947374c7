#pragma once
// Language modules. The program's texts are Portuguese in the code; a module beside the program
// ("corkvane.ptb" for 1046, "corkvane.enu" for 1033, else the two-letter "corkvane.pt" or
// "corkvane.en") supplies every form text and message of one language. Qt's own texts (the
// standard buttons, the colour, font, file and print dialogs, the editors' menus) follow the
// same language from Qt's catalogues.
//
// Installing a translator makes Qt send QEvent::LanguageChange to every widget, which is when
// each form runs its retranslateUi() again.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QTranslator;

class LanguageModules
{
public:
    static constexpr int kPortuguese = 1046;
    static constexpr int kEnglish = 1033;

    // `programFolder` holds the modules, with or without a trailing '/'.
    explicit LanguageModules(const QString &programFolder);
    ~LanguageModules();
    LanguageModules(const LanguageModules &) = delete;
    LanguageModules &operator=(const LanguageModules &) = delete;

    // The files tried for a locale, in order: the three-letter name, then the two-letter one.
    // Empty for a locale without a language.
    static QStringList candidateFiles(const QString &programFolder, int localeId);
    // Qt's catalogue of a locale ("qt_pt_BR"); empty when Qt's built-in English serves.
    static QString qtCatalogueName(int localeId);

    // Loads the module of the locale, releasing the one loaded before, and Qt's texts for it.
    // False when no module can be loaded: then nothing changes.
    bool load(int localeId);
    // The built-in Portuguese without a module: only Qt's own texts are made Portuguese.
    void useBuiltIn();

    // The locale of the loaded module, 0 when none.
    int loadedLocale() const { return m_locale; }
    QString loadedFile() const { return m_file; }
    // Whether Qt's texts come from a catalogue (false: Qt's built-in English).
    bool qtTranslated() const;

private:
    void loadQt(int localeId);

    QString m_folder;
    int m_locale = 0;
    QString m_file;
    // A translator reads its catalogue in place, so the bytes live as long as it does.
    QByteArray m_data;
    std::unique_ptr<QTranslator> m_program;
    std::unique_ptr<QTranslator> m_qt;
};
