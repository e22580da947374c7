#include "alarms/MostraAlarmes.h"

#include "notes/NoteTable.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/FixedWindow.h"
#include "platform/Locale.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QString TaskLine(int slot, const QTime &time, const QString &title)
{
    return QStringLiteral("%1 - %2 - %3")
        .arg(slot, 3, 10, QLatin1Char('0'))
        .arg(Locale::formatTime(time), title);
}

QStringList TodaysTaskLines(const QList<TaskEntry> &entries, const QDate &today)
{
    QStringList lines;
    for (const TaskEntry &e : entries)
        if (e.alarm && e.alarmDateTime.isValid() && e.alarmDateTime.date() == today)
            lines << TaskLine(e.slot, e.alarmDateTime.time(), e.title);
    return lines;
}

int SlotOfTaskLine(const QString &line)
{
    const int blank = line.indexOf(QLatin1Char(' '));
    bool ok = false;
    const int slot = line.left(blank < 0 ? line.size() : blank).toInt(&ok);
    return ok && slot >= 0 ? slot : -1;
}

TfrmMostraAlarmes::TfrmMostraAlarmes(const NoteTable *table, QWidget *parent)
    : QWidget(parent), m_table(table)
{
    setObjectName(QStringLiteral("TfrmMostraAlarmes"));
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(9);
    setFont(small);
    FixedWindow::apply(this, Qt::Tool, QSize(248, 109));

    m_lstTem = new QListWidget(this);
    m_lstTem->setObjectName(QStringLiteral("lstTem"));
    m_lstTem->setFixedHeight(79);
    m_cmdVisualizar = new QPushButton(this);
    m_cmdVisualizar->setObjectName(QStringLiteral("cmdVisualizar"));
    m_cmdFechar = new QPushButton(this);
    m_cmdFechar->setObjectName(QStringLiteral("cmdFechar"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdVisualizar);
    buttons->addWidget(m_cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_lstTem);
    layout->addLayout(buttons);
    retranslate();

    m_lstTem->viewport()->installEventFilter(this);
    connect(m_lstTem, &QListWidget::itemDoubleClicked, this, &TfrmMostraAlarmes::showSelectedNote);
    connect(m_cmdVisualizar, &QPushButton::clicked, this, &TfrmMostraAlarmes::showSelectedNote);
    connect(m_cmdFechar, &QPushButton::clicked, this, &QWidget::hide);
}

void TfrmMostraAlarmes::listTodaysTasks()
{
    if (!m_table || m_table->count() == 0)
        return;
    QList<TaskEntry> entries;
    m_table->forEach([&entries](int slot, TfPostIt *note) {
        entries.append({slot, note->alarm(), note->alarmDateTime(), note->title()});
    });
    const QStringList lines = TodaysTaskLines(entries, Clock::now().date());
    m_lstTem->clear();
    m_lstTem->addItems(lines);
    if (!lines.isEmpty()) {
        if (isVisible()) {
            m_cmdVisualizar->setEnabled(false);
        } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        show();
        raise();
    }
}

void TfrmMostraAlarmes::showSelectedNote()
{
    QListWidgetItem *item = m_lstTem->currentItem();
    if (!item || !item->isSelected() || !m_table)
        return;
    if (TfPostIt *note = m_table->at(SlotOfTaskLine(item->text())))
        note->bringToFront();
}

void TfrmMostraAlarmes::retranslate()
{
    setWindowTitle(tr("Tarefas para Hoje"));
    m_cmdVisualizar->setText(tr("&Visualizar"));
    m_cmdFechar->setText(tr("&Fechar"));
    m_lstTem->setAccessibleName(windowTitle());
}

void TfrmMostraAlarmes::changeEvent(QEvent *event)
{
    // The window lives for the whole run, so it follows a switch of language.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

bool TfrmMostraAlarmes::eventFilter(QObject *watched, QEvent *event)
{
    // Any click on the list, on a line or beside the lines, makes "&Visualizar" usable.
    if (watched == m_lstTem->viewport() && event->type() == QEvent::MouseButtonRelease)
        m_cmdVisualizar->setEnabled(m_lstTem->count() > 0);
    return QWidget::eventFilter(watched, event);
}

void TfrmMostraAlarmes::showEvent(QShowEvent *event)
{
    // Nothing is chosen yet: "&Visualizar" waits for a click on the list.
    m_cmdVisualizar->setEnabled(false);
    QWidget::showEvent(event);
}
