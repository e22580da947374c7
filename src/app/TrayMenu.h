#pragma once
// The tray menu popPrincipal. Its two note lists are rebuilt from the note table every time the
// menu opens, so they always show the current notes and titles. The contact book, the
// preferences, the language choice and the help show once the program answers their signals.
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;

struct TrayNoteEntry
{
    int slot;
    QString title;
    bool hidden;
};

class TrayMenu : public QObject
{
    Q_OBJECT
public:
    explicit TrayMenu(QObject *parent = nullptr);
    ~TrayMenu() override;

    QMenu *menu() const { return m_menu; }
    // The notes in slot order, empty slots left out.
    void setNoteProvider(std::function<QList<TrayNoteEntry>()> provider) { m_notes = std::move(provider); }
    // Runs the menu-opening step: both note lists are built again.
    void rebuildNoteLists();
    QAction *item(const QString &objectName) const;
    void retranslate();
    // Checks "Português" for 1046 and "Inglês" for 1033; any other value checks neither.
    void setActiveLanguage(int localeId);

signals:
    void newNoteRequested();
    void showNoteRequested(int slot);
    void showAllRequested();
    // "&Localizar Notas...": the notes window.
    void findNotesRequested();
    // "Reunir Notas", "Lixeira..." and "Restaurar Cópia...".
    void gatherRequested();
    void trashRequested();
    void restoreRequested();
    void todayTasksRequested();
    void saveRequested();
    void backupRequested();
    void addressBookRequested();
    void preferencesRequested();
    // "Português" (1046) or "Inglês" (1033).
    void languageRequested(int localeId);
    void helpRequested();
    void webRequested();
    void aboutRequested();
    void quitRequested();

protected:
    // The menu's QEvent::LanguageChange: the captions are read again.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addItem(QMenu *menu, const char *objectName);
    void addSeparator(QMenu *menu, const char *objectName);
    void showAnsweredItems();

    QMenu *m_menu;
    QMenu *m_mostrar = nullptr;
    QMenu *m_escondidos = nullptr;
    QMenu *m_copiaSeg = nullptr;
    QMenu *m_idioma = nullptr;
    std::function<QList<TrayNoteEntry>()> m_notes;
    int m_activeLocale = 0;
};
