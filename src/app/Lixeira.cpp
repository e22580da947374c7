#include "app/Lixeira.h"

#include "app/StickyNote.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "store/StoreValues.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole;

QPushButton *button(QWidget *parent, const char *name)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

TfrmLixeira::TfrmLixeira(TfStickyNote &controller, QWidget *parent) : QDialog(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("TfrmLixeira"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_lblLixeira = new QLabel(this);
    m_lblLixeira->setObjectName(QStringLiteral("lblLixeira"));
    m_lstLixeira = new QTreeWidget(this);
    m_lstLixeira->setObjectName(QStringLiteral("lstLixeira"));
    m_lstLixeira->setColumnCount(3);
    m_lstLixeira->setRootIsDecorated(false);
    m_lstLixeira->setUniformRowHeights(true);
    m_lstLixeira->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstLixeira->setAllColumnsShowFocus(true);
    m_lstLixeira->header()->setStretchLastSection(false);
    m_lstLixeira->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_lblLixeira->setBuddy(m_lstLixeira);
    m_lblEstado = new QLabel(this);
    m_lblEstado->setObjectName(QStringLiteral("lblEstado"));
    m_lblEstado->setWordWrap(true);
    m_cmdRestaurar = button(this, "cmdRestaurar");
    m_cmdRestaurar->setDefault(true);
    m_cmdEsvaziar = button(this, "cmdEsvaziar");
    m_cmdFechar = button(this, "cmdFechar");

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdEsvaziar);
    buttons->addStretch();
    buttons->addWidget(m_cmdRestaurar);
    buttons->addWidget(m_cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblLixeira);
    layout->addWidget(m_lstLixeira, 1);
    layout->addWidget(m_lblEstado);
    layout->addLayout(buttons);

    connect(m_lstLixeira, &QTreeWidget::itemSelectionChanged, this, &TfrmLixeira::updateButtons);
    connect(m_lstLixeira, &QTreeWidget::itemActivated, this, &TfrmLixeira::restoreSelected);
    connect(m_cmdRestaurar, &QPushButton::clicked, this, &TfrmLixeira::restoreSelected);
    connect(m_cmdEsvaziar, &QPushButton::clicked, this, &TfrmLixeira::emptyTrash);
    connect(m_cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
    resize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 22);
}

QString TfrmLixeira::firstLine(const QString &text)
{
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    return {};
}

void TfrmLixeira::refresh()
{
    m_readError.clear();
    const QList<TrashEntry> entries = m_controller.trash().entries(Clock::now(), &m_readError);
    m_lstLixeira->clear();
    for (const TrashEntry &entry : entries) {
        auto *item = new QTreeWidgetItem(m_lstLixeira);
        item->setText(0, entry.note.caption);
        item->setText(1, firstLine(entry.note.note));
        item->setText(2, StoreValues::formatDateTime(entry.deletedAt));
        item->setData(0, kIdRole, entry.id);
    }
    m_entries = int(entries.size());
    if (m_entries > 0)
        m_lstLixeira->setCurrentItem(m_lstLixeira->topLevelItem(0));
    for (int column = 0; column < 3; column += 2)
        m_lstLixeira->resizeColumnToContents(column);
    updateButtons();
}

void TfrmLixeira::updateButtons()
{
    m_cmdRestaurar->setEnabled(!m_lstLixeira->selectedItems().isEmpty());
    m_cmdEsvaziar->setEnabled(m_entries > 0);
    if (!m_readError.isEmpty())
        m_lblEstado->setText(tr("A Lixeira não pôde ser lida: %1").arg(m_readError));
    else if (m_entries == 0)
        m_lblEstado->setText(tr("A Lixeira está vazia."));
    else
        m_lblEstado->setText(tr("Notas na Lixeira: %1. As notas apagadas há mais de %2 dias são descartadas.")
                                 .arg(m_entries)
                                 .arg(NoteTrash::kKeepDays));
}

void TfrmLixeira::restoreSelected()
{
    QStringList ids;
    for (int i = 0; i < m_lstLixeira->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_lstLixeira->topLevelItem(i);
        if (item->isSelected())
            ids << item->data(0, kIdRole).toString();
    }
    if (ids.isEmpty())
        return;
    m_controller.restoreFromTrash(ids);
    refresh();
}

void TfrmLixeira::emptyTrash()
{
    if (m_entries == 0
        || !Dialogs::confirm(this, tr("Aviso"), tr("Esvaziar a Lixeira? As notas nela (%1) serão apagadas para sempre.").arg(m_entries)))
        return;
    QString error;
    if (!m_controller.trash().empty(&error))
        Dialogs::error(this, error);
    refresh();
}

void TfrmLixeira::retranslateUi()
{
    setWindowTitle(tr("Lixeira"));
    m_lblLixeira->setText(tr("&Notas apagadas:"));
    m_lstLixeira->setHeaderLabels({tr("Título"), tr("Primeira linha"), tr("Apagada em")});
    m_lstLixeira->setAccessibleName(tr("Notas apagadas"));
    m_cmdRestaurar->setText(tr("Restaurar"));
    m_cmdRestaurar->setAccessibleName(tr("Restaurar as notas escolhidas"));
    m_cmdEsvaziar->setText(tr("Esvaziar"));
    m_cmdEsvaziar->setAccessibleName(tr("Esvaziar a Lixeira"));
    m_cmdFechar->setText(tr("&Fechar"));
    m_cmdFechar->setAccessibleName(tr("Fechar a Lixeira"));
    updateButtons();
}

void TfrmLixeira::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmLixeira::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}
