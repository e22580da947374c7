#pragma once
// "Restaurar Cópia": the earlier states of the store that can be brought back, the latest
// first: the snapshots, and the exit and menu backups in the backup folder. Each row shows its
// moment, its number of notes and where it comes from; the titles of the chosen one's notes
// show below. "Restaurar" keeps the state of now in a snapshot first and then loads the chosen
// copy as the store, so a restore can be undone from this same list.
#include "store/Snapshots.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class TfStickyNote;

class TfrmRestaurarCopia : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 12;

    explicit TfrmRestaurarCopia(TfStickyNote &controller, QWidget *parent = nullptr);

    // Lists the copies again.
    void refresh();
    const QList<Snapshots::Copy> &copies() const { return m_copies; }

signals:
    void helpRequested(int context);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslateUi();
    void fillRows();
    void showTitles();
    void restoreChosen();
    int chosen() const;

    TfStickyNote &m_controller;
    QLabel *m_lblCopias;
    QTreeWidget *m_lstCopias;
    QLabel *m_lblNotas;
    QListWidget *m_lstNotas;
    QLabel *m_lblEstado;
    QPushButton *m_cmdRestaurar;
    QPushButton *m_cmdFechar;
    QList<Snapshots::Copy> m_copies;
};
