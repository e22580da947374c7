#pragma once
// Today's tasks: the notes whose armed alarm falls on today's date, one line each, from which
// the user brings a note to the front. One window serves the whole run; filling it again
// replaces its lines, closing only hides it.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QWidget>

class NoteTable;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// What the list needs to know of one note.
struct TaskEntry
{
    int slot = 0;
    bool alarm = false;
    QDateTime alarmDateTime;
    QString title;
};

// "007 - 14:30:00 - Reunião": the slot with at least three digits, the alarm's time of day in
// the long time format, the title.
QString TaskLine(int slot, const QTime &time, const QString &title);
// The lines of the armed alarms that fall on `today`, in the order given (slot order).
QStringList TodaysTaskLines(const QList<TaskEntry> &entries, const QDate &today);
// The slot written at the start of a line (the digits before the first blank); -1 when none.
int SlotOfTaskLine(const QString &line);

class TfrmMostraAlarmes : public QWidget
{
    Q_OBJECT

public:
    // `table` is the controller's note table; it must outlive the window.
    explicit TfrmMostraAlarmes(const NoteTable *table, QWidget *parent = nullptr);

    // Fills the list with today's tasks (today from the clock) and shows the window when at
    // least one line was added. Does nothing at all while the table has handed out no slot.
    void listTodaysTasks();

    // Brings the note of the selected line to the front, if its slot still holds a note.
    void showSelectedNote();

    QListWidget *lstTem() const { return m_lstTem; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void retranslate();

    const NoteTable *m_table;
    QListWidget *m_lstTem = nullptr;
    QPushButton *m_cmdVisualizar = nullptr;
    QPushButton *m_cmdFechar = nullptr;
};
