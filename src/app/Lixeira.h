#pragma once
// "Lixeira": the notes deleted in the last 30 days, the latest first, each with its title, the
// first line of its text and the moment it was deleted. "Restaurar" brings the chosen notes
// back whole as new notes; "Esvaziar" removes them all for good, after asking. Made on first use
// and reused; it reads the trash again every time it is shown or changed.
#include "store/NoteTrash.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class TfStickyNote;

class TfrmLixeira : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 11;

    explicit TfrmLixeira(TfStickyNote &controller, QWidget *parent = nullptr);

    // Reads the trash again and lists it.
    void refresh();
    // The line of a note's text the list shows: its first line that holds more than blanks.
    static QString firstLine(const QString &text);

signals:
    void helpRequested(int context);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslateUi();
    void updateButtons();
    void restoreSelected();
    void emptyTrash();

    TfStickyNote &m_controller;
    QLabel *m_lblLixeira;
    QTreeWidget *m_lstLixeira;
    QLabel *m_lblEstado;
    QPushButton *m_cmdRestaurar;
    QPushButton *m_cmdEsvaziar;
    QPushButton *m_cmdFechar;
    int m_entries = 0;
    QString m_readError;
};
