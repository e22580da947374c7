#include "mail/AddressBook.h"

#include "platform/Dialogs.h"
#include "platform/WindowTitle.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

// ---- TfrmAddContato -------------------------------------------------------------------------

TfrmAddContato::TfrmAddContato(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TfrmAddContato"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    setFixedSize(302, 136);

    const auto label = [this](const char *name, int y) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(8, y, 120, 15);
        return l;
    };
    const auto edit = [this](const char *name, int x, int y, int w) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(x, y, w, 21);
        return e;
    };
    m_label1 = label("Label1", 4);
    m_txtNome = edit("txtNome", 8, 19, 286);
    m_label2 = label("Label2", 44);
    m_txtEmail = edit("txtEmail", 8, 59, 140);
    m_label3 = new QLabel(this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setGeometry(154, 44, 140, 15);
    m_txtAnotacoes = edit("txtAnotacoes", 154, 59, 140);
    m_label1->setBuddy(m_txtNome);
    m_label2->setBuddy(m_txtEmail);
    m_label3->setBuddy(m_txtAnotacoes);

    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(140, 102, 75, 25);
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(219, 102, 75, 25);
    m_cmdCancel->setAutoDefault(false);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
}

void TfrmAddContato::retranslateUi()
{
    setWindowTitle(tr("Adicionar/Modificar Contatos"));
    m_label1->setText(tr("&Nome:"));
    m_label2->setText(tr("&E-Mail ou IP:"));
    m_label3->setText(tr("&Anotações:"));
    m_cmdOK->setText(tr("OK"));
    m_cmdCancel->setText(tr("Cancelar"));
}

void TfrmAddContato::setFields(const Contact &contact)
{
    m_txtNome->setText(contact.name);
    m_txtEmail->setText(contact.address);
    m_txtAnotacoes->setText(contact.note);
}

Contact TfrmAddContato::fields() const
{
    return {m_txtNome->text(), m_txtEmail->text(), m_txtAnotacoes->text()};
}

void TfrmAddContato::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_txtNome->setFocus();
}

void TfrmAddContato::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmAddContato::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

// ---- TfrmAddressBook ------------------------------------------------------------------------

TfrmAddressBook::TfrmAddressBook(const QString &storePath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint),
      m_storePath(storePath)
{
    setObjectName(QStringLiteral("TfrmAddressBook"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    resize(448, 251);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    const auto button = [this](const char *name, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(m_toolBar);
        b->setObjectName(QLatin1String(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setMinimumWidth(52);
        m_toolBar->addWidget(b);
        return b;
    };
    m_cmdNovo = button("cmdNovo", QStyle::SP_FileIcon);
    m_cmdEditar = button("cmdEditar", QStyle::SP_FileDialogDetailedView);
    m_cmdExcluir = button("cmdExcluir", QStyle::SP_TrashIcon);
    m_toolBar->addSeparator();
    m_cmdFechar = button("cmdFechar", QStyle::SP_DialogCloseButton);
    layout->addWidget(m_toolBar);

    m_lstContato = new QTableWidget(0, 3, this);
    m_lstContato->setObjectName(QStringLiteral("lstContato"));
    m_lstContato->setShowGrid(true);
    m_lstContato->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstContato->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstContato->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstContato->setSortingEnabled(false);
    m_lstContato->setWordWrap(false);
    m_lstContato->verticalHeader()->hide();
    m_lstContato->verticalHeader()->setDefaultSectionSize(m_lstContato->fontMetrics().height() + 4);
    m_lstContato->horizontalHeader()->setSectionsClickable(false);
    m_lstContato->horizontalHeader()->setHighlightSections(false);
    m_lstContato->setColumnWidth(0, 150);
    m_lstContato->setColumnWidth(1, 200);
    m_lstContato->setColumnWidth(2, 200);
    layout->addWidget(m_lstContato, 1);

    m_pnlSelecionado = new QWidget(this);
    m_pnlSelecionado->setObjectName(QStringLiteral("pnlSelecionado"));
    m_pnlSelecionado->setFixedHeight(61);
    auto *panel = new QHBoxLayout(m_pnlSelecionado);
    panel->setContentsMargins(4, 4, 4, 4);
    m_label1 = new QLabel(m_pnlSelecionado);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel->addWidget(m_label1);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    const auto small = [this](const char *name) {
        auto *b = new QPushButton(m_pnlSelecionado);
        b->setObjectName(QLatin1String(name));
        QFont bold = b->font();
        bold.setBold(true);
        b->setFont(bold);
        b->setFixedSize(30, 24);
        b->setAutoDefault(false);
        return b;
    };
    m_cmdInserir = small("cmdInserir");
    m_cmdRemover = small("cmdRemover");
    buttons->addWidget(m_cmdInserir);
    buttons->addWidget(m_cmdRemover);
    panel->addLayout(buttons);
    m_lstSelecionado = new QListWidget(m_pnlSelecionado);
    m_lstSelecionado->setObjectName(QStringLiteral("lstSelecionado"));
    panel->addWidget(m_lstSelecionado, 1);
    m_pnlSelecionado->hide();
    layout->addWidget(m_pnlSelecionado);

    m_statusBar1 = new QStatusBar(this);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(m_statusBar1);

    m_addContato = new TfrmAddContato(this);
    connect(m_addContato, &TfrmAddContato::helpRequested, this, &TfrmAddressBook::helpRequested);
    connect(m_addContato, &QDialog::accepted, this, [this] {
        if (m_editingRow < 0)
            addContact(m_addContato->fields());
        else
            replaceContact(m_editingRow, m_addContato->fields());
        m_editingRow = -1;
    });
    connect(m_addContato, &QDialog::rejected, this, [this] { m_editingRow = -1; });

    connect(m_cmdNovo, &QToolButton::clicked, this, &TfrmAddressBook::cmdNovoClick);
    connect(m_cmdEditar, &QToolButton::clicked, this, &TfrmAddressBook::cmdEditarClick);
    connect(m_cmdExcluir, &QToolButton::clicked, this, &TfrmAddressBook::cmdExcluirClick);
    connect(m_cmdFechar, &QToolButton::clicked, this, &TfrmAddressBook::cmdFecharClick);
    connect(m_cmdInserir, &QPushButton::clicked, this, &TfrmAddressBook::cmdInserirClick);
    connect(m_cmdRemover, &QPushButton::clicked, this, &TfrmAddressBook::cmdRemoverClick);
    connect(m_lstContato, &QTableWidget::cellDoubleClicked, this, [this] { cmdInserirClick(); });

    retranslateUi();
}

void TfrmAddressBook::retranslateUi()
{
    setWindowTitle(tr("Caderneta de Contatos"));
    m_cmdNovo->setText(tr("&Novo"));
    m_cmdNovo->setToolTip(tr("Novo Contato"));
    m_cmdEditar->setText(tr("&Editar"));
    m_cmdEditar->setToolTip(tr("Editar Contato"));
    m_cmdExcluir->setText(tr("E&xcluir"));
    m_cmdExcluir->setToolTip(tr("Excluir Contato"));
    m_cmdFechar->setText(tr("&Fechar"));
    m_cmdFechar->setToolTip(tr("Fechar Caderneta"));
    m_lstContato->setHorizontalHeaderLabels({tr("Nome"), tr("IP ou E-mail"), tr("Anotações")});
    m_label1->setText(tr("Para:"));
    m_cmdInserir->setText(QStringLiteral(">>"));
    m_cmdInserir->setToolTip(tr("Adicionar contato com destinatário"));
    m_cmdRemover->setText(QStringLiteral("<<"));
    m_cmdRemover->setToolTip(tr("Remover Contato como Destinatário"));
    // Lists are named for screen readers, which read no label beside them.
    m_lstContato->setAccessibleName(tr("Contatos"));
    m_lstSelecionado->setAccessibleName(tr("Destinatários"));
}

void TfrmAddressBook::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmAddressBook::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmAddressBook::setRecipientPanelVisible(bool visible)
{
    m_pnlSelecionado->setVisible(visible);
}

bool TfrmAddressBook::recipientPanelVisible() const
{
    return !m_pnlSelecionado->isHidden();
}

void TfrmAddressBook::maintain()
{
    setRecipientPanelVisible(false);
    exec();
}

QStringList TfrmAddressBook::chooseRecipients()
{
    setRecipientPanelVisible(true);
    exec();
    return chosen();
}

QStringList TfrmAddressBook::chosen() const
{
    QStringList out;
    for (int i = 0; i < m_lstSelecionado->count(); ++i)
        out.append(m_lstSelecionado->item(i)->text());
    return out;
}

void TfrmAddressBook::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void TfrmAddressBook::reload()
{
    m_contacts = Contacts::loadFromFile(m_storePath);
    Contacts::sortByName(m_contacts);
    fillList();
    m_lstContato->clearSelection();
    if (!m_contacts.isEmpty())
        m_lstContato->selectRow(0);
    m_lstSelecionado->clear();
}

void TfrmAddressBook::fillList()
{
    m_lstContato->setRowCount(int(m_contacts.size()));
    for (int row = 0; row < m_contacts.size(); ++row) {
        const Contact &c = m_contacts.at(row);
        const QString cells[] = {c.name, c.address, c.note};
        for (int column = 0; column < 3; ++column) {
            if (QTableWidgetItem *item = m_lstContato->item(row, column))
                item->setText(cells[column]);
            else
                m_lstContato->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
}

void TfrmAddressBook::save()
{
    QString error;
    if (!Contacts::saveToFile(m_storePath, m_contacts, &error))
        Dialogs::showException(error);
}

QList<int> TfrmAddressBook::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_lstContato->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfrmAddressBook::addContact(const Contact &contact)
{
    const qsizetype at = Contacts::insertPosition(m_contacts, contact.name);
    m_contacts.insert(at, contact);
    fillList();
    m_lstContato->clearSelection();
    m_lstContato->selectRow(int(at));
    save();
}

void TfrmAddressBook::replaceContact(int row, const Contact &contact)
{
    if (row < 0 || row >= m_contacts.size())
        return;
    m_contacts.removeAt(row);
    addContact(contact);
}

void TfrmAddressBook::cmdNovoClick()
{
    m_editingRow = -1;
    m_addContato->setFields({});
    m_addContato->open();
}

void TfrmAddressBook::proposeContact(const Contact &contact)
{
    if (m_addContato->isVisible())
        return;
    // What another window wrote to the store since the book was last shown counts.
    reload();
    m_editingRow = -1;
    m_addContato->setFields(contact);
    m_addContato->open();
    m_addContato->raise();
    m_addContato->activateWindow();
}

void TfrmAddressBook::cmdEditarClick()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    m_editingRow = rows.first();
    m_addContato->setFields(m_contacts.at(m_editingRow));
    m_addContato->open();
}

void TfrmAddressBook::cmdExcluirClick()
{
    if (!Dialogs::confirm(this, tr("Aviso"), tr("Confirma Exclusão deste Contato?")))
        return;
    const QList<int> rows = selectedRows();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        m_contacts.removeAt(*it);
    fillList();
    m_lstContato->clearSelection();
    save();
}

void TfrmAddressBook::cmdFecharClick()
{
    save();
    accept();
}

void TfrmAddressBook::cmdInserirClick()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) {
        Dialogs::error(this, tr("Selecione um contato!"));
        return;
    }
    const QString address = m_contacts.at(rows.first()).address;
    if (chosen().contains(address, Qt::CaseSensitive))
        return;
    m_lstSelecionado->addItem(address);
}

void TfrmAddressBook::cmdRemoverClick()
{
    QListWidgetItem *entry = m_lstSelecionado->currentItem();
    if (!entry || !entry->isSelected()) {
        QApplication::beep();
        return;
    }
    delete entry;
}
