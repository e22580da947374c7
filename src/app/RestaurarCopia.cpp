#include "app/RestaurarCopia.h"

#include "app/StickyNote.h"
#include "platform/Dialogs.h"
#include "store/StoreValues.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIndexRole = Qt::UserRole;

} // namespace

TfrmRestaurarCopia::TfrmRestaurarCopia(TfStickyNote &controller, QWidget *parent)
    : QDialog(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("TfrmRestaurarCopia"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_lblCopias = new QLabel(this);
    m_lblCopias->setObjectName(QStringLiteral("lblCopias"));
    m_lstCopias = new QTreeWidget(this);
    m_lstCopias->setObjectName(QStringLiteral("lstCopias"));
    m_lstCopias->setColumnCount(3);
    m_lstCopias->setRootIsDecorated(false);
    m_lstCopias->setUniformRowHeights(true);
    m_lstCopias->setAllColumnsShowFocus(true);
    m_lstCopias->header()->setStretchLastSection(true);
    m_lblCopias->setBuddy(m_lstCopias);
    m_lblNotas = new QLabel(this);
    m_lblNotas->setObjectName(QStringLiteral("lblNotas"));
    m_lstNotas = new QListWidget(this);
    m_lstNotas->setObjectName(QStringLiteral("lstNotas"));
    m_lblNotas->setBuddy(m_lstNotas);
    m_lblEstado = new QLabel(this);
    m_lblEstado->setObjectName(QStringLiteral("lblEstado"));
    m_lblEstado->setWordWrap(true);
    m_cmdRestaurar = new QPushButton(this);
    m_cmdRestaurar->setObjectName(QStringLiteral("cmdRestaurar"));
    m_cmdRestaurar->setDefault(true);
    m_cmdFechar = new QPushButton(this);
    m_cmdFechar->setObjectName(QStringLiteral("cmdFechar"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdRestaurar);
    buttons->addWidget(m_cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblCopias);
    layout->addWidget(m_lstCopias, 3);
    layout->addWidget(m_lblNotas);
    layout->addWidget(m_lstNotas, 2);
    layout->addWidget(m_lblEstado);
    layout->addLayout(buttons);

    connect(m_lstCopias, &QTreeWidget::itemSelectionChanged, this, &TfrmRestaurarCopia::showTitles);
    connect(m_lstCopias, &QTreeWidget::itemActivated, this, &TfrmRestaurarCopia::restoreChosen);
    connect(m_cmdRestaurar, &QPushButton::clicked, this, &TfrmRestaurarCopia::restoreChosen);
    connect(m_cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
    resize(fontMetrics().averageCharWidth() * 86, fontMetrics().height() * 26);
}

void TfrmRestaurarCopia::refresh()
{
    // Every copy is read for its notes: fifty full stores take a good part of a second.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_copies = Snapshots::copies(m_controller.storePath(), m_controller.settings().recGeral.BackupPath);
    QApplication::restoreOverrideCursor();
    fillRows();
    if (!m_copies.isEmpty())
        m_lstCopias->setCurrentItem(m_lstCopias->topLevelItem(0));
    showTitles();
}

void TfrmRestaurarCopia::fillRows()
{
    const int current = chosen();
    m_lstCopias->clear();
    for (qsizetype i = 0; i < m_copies.size(); ++i) {
        const Snapshots::Copy &copy = m_copies.at(i);
        auto *item = new QTreeWidgetItem(m_lstCopias);
        item->setText(0, StoreValues::formatDateTime(copy.moment));
        item->setText(1, QString::number(copy.titles.size()));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, copy.kind == Snapshots::Copy::Kind::Snapshot ? tr("Instantâneo")
                                                                      : tr("Cópia de segurança (%1)").arg(QFileInfo(copy.path).fileName()));
        item->setToolTip(2, copy.path);
        item->setData(0, kIndexRole, int(i));
    }
    if (current >= 0 && current < m_lstCopias->topLevelItemCount())
        m_lstCopias->setCurrentItem(m_lstCopias->topLevelItem(current));
    for (int column = 0; column < 2; ++column)
        m_lstCopias->resizeColumnToContents(column);
}

int TfrmRestaurarCopia::chosen() const
{
    const QTreeWidgetItem *item = m_lstCopias->currentItem();
    return item && item->isSelected() ? item->data(0, kIndexRole).toInt() : -1;
}

void TfrmRestaurarCopia::showTitles()
{
    m_lstNotas->clear();
    const int index = chosen();
    m_cmdRestaurar->setEnabled(index >= 0);
    if (m_copies.isEmpty()) {
        m_lblEstado->setText(tr("Ainda não há cópias. O Corkvane guarda um instantâneo das notas a cada início e, "
                                "enquanto funciona, no máximo um por hora quando as notas mudam."));
        return;
    }
    m_lblEstado->clear();
    if (index < 0)
        return;
    for (const QString &title : m_copies.at(index).titles)
        m_lstNotas->addItem(title.isEmpty() ? tr("(sem título)") : title);
}

void TfrmRestaurarCopia::restoreChosen()
{
    const int index = chosen();
    if (index < 0)
        return;
    const Snapshots::Copy copy = m_copies.at(index);
    if (!Dialogs::confirm(this, tr("Aviso"),
                          tr("Restaurar as notas de %1? As notas de agora serão guardadas antes em um instantâneo, "
                             "que aparecerá nesta lista: a restauração poderá ser desfeita.")
                              .arg(StoreValues::formatDateTime(copy.moment))))
        return;
    if (m_controller.restoreStoreCopy(copy.path))
        accept();
    else
        refresh();
}

void TfrmRestaurarCopia::retranslateUi()
{
    setWindowTitle(tr("Restaurar Cópia"));
    m_lblCopias->setText(tr("&Cópias das notas:"));
    m_lstCopias->setHeaderLabels({tr("Momento"), tr("Notas"), tr("Origem")});
    m_lstCopias->setAccessibleName(tr("Cópias das notas"));
    m_lblNotas->setText(tr("&Notas da cópia escolhida:"));
    m_lstNotas->setAccessibleName(tr("Notas da cópia escolhida"));
    m_cmdRestaurar->setText(tr("Restaurar"));
    m_cmdRestaurar->setAccessibleName(tr("Restaurar a cópia escolhida"));
    m_cmdFechar->setText(tr("&Fechar"));
    m_cmdFechar->setAccessibleName(tr("Fechar sem restaurar"));
    fillRows();
    showTitles();
}

void TfrmRestaurarCopia::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmRestaurarCopia::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}
