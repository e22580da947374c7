#pragma once
// The notes window "Notas": every note in one list (colour, title, first line of its text, the
// alarm moment, the sender of a received note, hidden or shown), with a search field that
// filters as the user types (NoteSearch: titles and texts, without regard to case or accents).
//
// Enter in the search field or the list, or a double click, shows the chosen note, raises it
// and gives it the focus; Delete in the list asks the controller to delete it, through the
// usual request and its confirmation; the list's context menu shows, hides, deletes or opens
// the note's settings. It reaches every other command through the program's own menu, so a
// desktop without a notification area lacks nothing.
//
// The window never keeps a note window: its rows are copies, read again from the note table
// whenever the controller reports a note created, changed, hidden, shown or deleted, and every
// command looks its note up by slot when it runs.
#include "notes/NoteSearch.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

class NoteTable;
class NoteListModel;
class NoteFilterModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPushButton;
class QToolButton;
class QTreeView;

class TfrmNotas : public QWidget
{
    Q_OBJECT
public:
    // The help topic of this window.
    static constexpr int kHelpContext = 10;
    // The list's columns.
    enum Column { ColTitle, ColText, ColAlarm, ColFrom, ColState, ColumnCount };

    // `controller` receives DeleteNoteRequest; `table` is read whenever a row is refreshed.
    TfrmNotas(const NoteTable *table, QObject *controller, QWidget *parent = nullptr);
    ~TfrmNotas() override;

    // Shows the window (or brings it forward) with an empty search field holding the focus.
    void open();
    // A note was created, changed, hidden, shown or deleted; its row follows at the next pass
    // of the event loop, so a burst of changes costs one refresh.
    void noteChanged(int slot);
    // Every row is read again (after the notes went and came back, as a language switch does).
    void reloadAll();
    // The program's menu behind the "Menu" button; the button shows only with a menu.
    void setMainMenu(QMenu *menu);

    // The slots of the rows the search lets through, in list order.
    QList<int> listedSlots() const;
    // The slot of the chosen row, -1 when none.
    int currentSlot() const;
    // Makes the row of `slot` the chosen one; false when the search hides it or it is gone.
    bool selectSlot(int slot);

    // The commands, on the chosen row (each does nothing without one, or when its note went).
    void showCurrentNote();
    void hideCurrentNote();
    void deleteCurrentNote();
    void configureCurrentNote();

    QLineEdit *searchField() const { return m_txtProcurar; }
    QTreeView *list() const { return m_lstNotas; }
    QMenu *contextMenu() const { return m_popNotas; }

signals:
    // "&Configurações..." of the context menu: the note's settings dialog.
    void settingsRequested(int slot);
    // F1: this window's help topic.
    void helpRequested(int context);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void retranslateUi();
    void applyPendingChanges();
    void searchChanged(const QString &text);
    void keepAChosenRow();
    void updateCount();
    void updateCommands();
    void openContextMenu(const QPoint &pos);
    NoteSearch::Entry entryFor(int slot) const;

    const NoteTable *m_table;
    QPointer<QObject> m_controller;
    NoteListModel *m_model;
    NoteFilterModel *m_filter;
    QSet<int> m_pending;
    bool m_reloadPending = true;
    QTimer m_refresh;
    bool m_placed = false;

    QLabel *m_lblProcurar;
    QLineEdit *m_txtProcurar;
    QTreeView *m_lstNotas;
    QLabel *m_lblContagem;
    QPushButton *m_cmdMostrar;
    QToolButton *m_cmdMenu;
    QPushButton *m_cmdFechar;
    QMenu *m_popNotas;
    QAction *m_mnuMostrarNota;
    QAction *m_mnuOcultarNota;
    QAction *m_mnuExcluirNota;
    QAction *m_mnuConfigurarNota;
};
