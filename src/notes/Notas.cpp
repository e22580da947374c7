#include "notes/Notas.h"

#include "notes/ControllerEvents.h"
#include "notes/NoteTable.h"
#include "notes/PostIt.h"
#include "platform/Locale.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QIcon swatch(ColourValue colour)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(toQColor(colour));
    p.drawRect(QRect(1, 1, 11, 11));
    return QIcon(pm);
}

// The longest part of a note's text a row offers as its hint.
constexpr int kHintCharacters = 600;

} // namespace

// The rows: one per note, in slot order.
class NoteListModel : public QAbstractTableModel
{
    Q_DECLARE_TR_FUNCTIONS(TfrmNotas)

public:
    using QAbstractTableModel::QAbstractTableModel;

    const QList<NoteSearch::Entry> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(TfrmNotas::ColumnCount);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size())
            return {};
        const NoteSearch::Entry &e = m_rows.at(index.row());
        const int column = index.column();
        switch (role) {
        case Qt::DisplayRole:
            switch (column) {
            case TfrmNotas::ColTitle:
                return e.title.isEmpty() ? tr("(sem título)") : e.title;
            case TfrmNotas::ColText:
                return e.line;
            case TfrmNotas::ColAlarm:
                return e.alarm && e.alarmAt.isValid()
                           ? Locale::formatDate(e.alarmAt.date()) + QLatin1Char(' ') + Locale::formatTime(e.alarmAt.time())
                           : QString();
            case TfrmNotas::ColFrom:
                return e.from;
            case TfrmNotas::ColState:
                return e.hidden ? tr("Oculta") : tr("Visível");
            }
            return {};
        case Qt::DecorationRole:
            if (column == TfrmNotas::ColTitle)
                return swatchFor(e.colour);
            return {};
        case Qt::ToolTipRole:
            if (column == TfrmNotas::ColTitle)
                return e.title;
            if (column == TfrmNotas::ColText)
                return e.text.size() > kHintCharacters ? e.text.left(kHintCharacters) + QStringLiteral("…") : e.text;
            return {};
        case Qt::FontRole:
            if (e.hidden || (column == TfrmNotas::ColTitle && e.title.isEmpty())) {
                QFont f;
                f.setItalic(true);
                return f;
            }
            return {};
        case Qt::ForegroundRole:
            if (e.hidden)
                return QColor(0x70, 0x70, 0x70);
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case TfrmNotas::ColTitle: return tr("Título");
        case TfrmNotas::ColText: return tr("Texto");
        case TfrmNotas::ColAlarm: return tr("Alarme");
        case TfrmNotas::ColFrom: return tr("Recebida de");
        case TfrmNotas::ColState: return tr("Situação");
        }
        return {};
    }

    // The row of `slot`, or -1.
    int rowOf(int slot) const
    {
        const auto it = std::lower_bound(m_rows.cbegin(), m_rows.cend(), slot,
                                         [](const NoteSearch::Entry &e, int s) { return e.slot < s; });
        return (it != m_rows.cend() && it->slot == slot) ? int(it - m_rows.cbegin()) : -1;
    }

    void setRows(QList<NoteSearch::Entry> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

    void put(const NoteSearch::Entry &entry)
    {
        const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), entry.slot,
                                         [](const NoteSearch::Entry &e, int s) { return e.slot < s; });
        const int row = int(it - m_rows.begin());
        if (it != m_rows.end() && it->slot == entry.slot) {
            *it = entry;
            emit dataChanged(index(row, 0), index(row, TfrmNotas::ColumnCount - 1));
            return;
        }
        beginInsertRows({}, row, row);
        m_rows.insert(row, entry);
        endInsertRows();
    }

    void remove(int slot)
    {
        const int row = rowOf(slot);
        if (row < 0)
            return;
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    }

    // The texts of every row and heading follow the language.
    void retranslate()
    {
        emit headerDataChanged(Qt::Horizontal, 0, TfrmNotas::ColumnCount - 1);
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, TfrmNotas::ColumnCount - 1));
    }

private:
    QIcon swatchFor(ColourValue colour) const
    {
        auto it = m_swatches.find(colour);
        if (it == m_swatches.end())
            it = m_swatches.insert(colour, swatch(colour));
        return *it;
    }

    QList<NoteSearch::Entry> m_rows;
    mutable QHash<ColourValue, QIcon> m_swatches;
};

// Lets through the rows whose note matches every word of the search.
class NoteFilterModel : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setTerms(const QStringList &terms)
    {
        if (terms == m_terms)
            return;
        m_terms = terms;
        invalidateFilter();
    }
    bool searching() const { return !m_terms.isEmpty(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &) const override
    {
        const auto *notes = static_cast<const NoteListModel *>(sourceModel());
        return sourceRow < notes->rows().size() && notes->rows().at(sourceRow).matches(m_terms);
    }

private:
    QStringList m_terms;
};

TfrmNotas::TfrmNotas(const NoteTable *table, QObject *controller, QWidget *parent)
    : QWidget(parent, Qt::Window), m_table(table), m_controller(controller)
{
    setObjectName(QStringLiteral("TfrmNotas"));

    m_model = new NoteListModel(this);
    m_filter = new NoteFilterModel(this);
    m_filter->setSourceModel(m_model);

    m_lblProcurar = new QLabel(this);
    m_lblProcurar->setObjectName(QStringLiteral("lblProcurar"));
    m_txtProcurar = new QLineEdit(this);
    m_txtProcurar->setObjectName(QStringLiteral("txtProcurar"));
    m_txtProcurar->setClearButtonEnabled(true);
    m_lblProcurar->setBuddy(m_txtProcurar);

    m_lstNotas = new QTreeView(this);
    m_lstNotas->setObjectName(QStringLiteral("lstNotas"));
    m_lstNotas->setModel(m_filter);
    m_lstNotas->setRootIsDecorated(false);
    m_lstNotas->setItemsExpandable(false);
    m_lstNotas->setUniformRowHeights(true);
    m_lstNotas->setAllColumnsShowFocus(true);
    m_lstNotas->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstNotas->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstNotas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstNotas->setContextMenuPolicy(Qt::CustomContextMenu);
    m_lstNotas->header()->setStretchLastSection(false);
    m_lstNotas->header()->setSectionResizeMode(ColText, QHeaderView::Stretch);
    m_lstNotas->setColumnWidth(ColTitle, 180);
    m_lstNotas->setColumnWidth(ColFrom, 150);
    m_lstNotas->setColumnWidth(ColState, 70);

    m_lblContagem = new QLabel(this);
    m_lblContagem->setObjectName(QStringLiteral("lblContagem"));
    m_cmdMostrar = new QPushButton(this);
    m_cmdMostrar->setObjectName(QStringLiteral("cmdMostrar"));
    m_cmdMenu = new QToolButton(this);
    m_cmdMenu->setObjectName(QStringLiteral("cmdMenu"));
    m_cmdMenu->setPopupMode(QToolButton::InstantPopup);
    m_cmdMenu->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_cmdMenu->setFocusPolicy(Qt::StrongFocus);
    m_cmdMenu->hide();
    m_cmdFechar = new QPushButton(this);
    m_cmdFechar->setObjectName(QStringLiteral("cmdFechar"));

    // The list's commands, in its context menu; Delete answers only where the list has the
    // focus, so that the key keeps its meaning in the search field.
    m_popNotas = new QMenu(this);
    m_popNotas->setObjectName(QStringLiteral("popNotas"));
    const auto command = [this](const char *name, void (TfrmNotas::*run)()) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, run);
        m_popNotas->addAction(a);
        return a;
    };
    m_mnuMostrarNota = command("mnuMostrarNota", &TfrmNotas::showCurrentNote);
    m_mnuOcultarNota = command("mnuOcultarNota", &TfrmNotas::hideCurrentNote);
    m_mnuExcluirNota = command("mnuExcluirNota", &TfrmNotas::deleteCurrentNote);
    m_popNotas->addSeparator();
    m_mnuConfigurarNota = command("mnuConfigurarNota", &TfrmNotas::configureCurrentNote);
    m_mnuExcluirNota->setShortcut(QKeySequence::Delete);
    m_mnuExcluirNota->setShortcutContext(Qt::WidgetShortcut);
    m_lstNotas->addAction(m_mnuExcluirNota);

    auto *search = new QHBoxLayout;
    search->addWidget(m_lblProcurar);
    search->addWidget(m_txtProcurar, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_lblContagem, 1);
    buttons->addWidget(m_cmdMostrar);
    buttons->addWidget(m_cmdMenu);
    buttons->addWidget(m_cmdFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(m_lstNotas, 1);
    layout->addLayout(buttons);
    setTabOrder(m_txtProcurar, m_lstNotas);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(30);
    connect(&m_refresh, &QTimer::timeout, this, &TfrmNotas::applyPendingChanges);

    connect(m_txtProcurar, &QLineEdit::textChanged, this, &TfrmNotas::searchChanged);
    connect(m_txtProcurar, &QLineEdit::returnPressed, this, &TfrmNotas::showCurrentNote);
    connect(m_lstNotas, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        m_lstNotas->setCurrentIndex(index);
        // Once the click is over: its release must not bring this window back above the note.
        QTimer::singleShot(0, this, &TfrmNotas::showCurrentNote);
    });
    connect(m_lstNotas, &QTreeView::customContextMenuRequested, this, &TfrmNotas::openContextMenu);
    connect(m_lstNotas->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmNotas::updateCommands);
    connect(m_cmdMostrar, &QPushButton::clicked, this, &TfrmNotas::showCurrentNote);
    connect(m_cmdFechar, &QPushButton::clicked, this, &QWidget::close);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &TfrmNotas::updateCount);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &TfrmNotas::updateCount);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &TfrmNotas::updateCount);
    m_txtProcurar->installEventFilter(this);
    m_lstNotas->installEventFilter(this);

    retranslateUi();
    updateCommands();
}

TfrmNotas::~TfrmNotas() = default;

void TfrmNotas::retranslateUi()
{
    setWindowTitle(tr("Notas"));
    m_lblProcurar->setText(tr("&Procurar:"));
    m_txtProcurar->setPlaceholderText(tr("título ou texto da nota"));
    m_lstNotas->setAccessibleName(tr("Notas"));
    m_cmdMostrar->setText(tr("&Mostrar"));
    m_cmdMenu->setText(tr("Men&u"));
    m_cmdMenu->setAccessibleName(tr("Menu do Corkvane"));
    m_cmdFechar->setText(tr("&Fechar"));
    // The field's own clear button.
    for (QToolButton *clear : m_txtProcurar->findChildren<QToolButton *>())
        clear->setAccessibleName(tr("Limpar a busca"));
    m_mnuMostrarNota->setText(tr("&Mostrar"));
    m_mnuOcultarNota->setText(tr("&Ocultar"));
    m_mnuExcluirNota->setText(tr("&Excluir"));
    m_mnuConfigurarNota->setText(tr("&Configurações..."));
    m_model->retranslate();
    // Wide enough for a moment in the user's own format, and for the heading.
    const QFontMetrics metrics = m_lstNotas->fontMetrics();
    const QString longest = Locale::formatDate(QDate(2028, 12, 28)) + QLatin1Char(' ') + Locale::formatTime(QTime(22, 58, 58));
    m_lstNotas->setColumnWidth(ColAlarm, qMax(metrics.horizontalAdvance(longest),
                                              metrics.horizontalAdvance(m_model->headerData(ColAlarm, Qt::Horizontal, Qt::DisplayRole).toString()))
                                             + 24);
    updateCount();
}

void TfrmNotas::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void TfrmNotas::setMainMenu(QMenu *menu)
{
    m_cmdMenu->setMenu(menu);
    m_cmdMenu->setVisible(menu != nullptr);
}

void TfrmNotas::open()
{
    if (!m_placed) {
        m_placed = true;
        resize(840, 440);
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = geometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
    // A fresh search each time, the first note chosen.
    m_txtProcurar->clear();
    searchChanged(QString());
    m_txtProcurar->setFocus(Qt::ActiveWindowFocusReason);
}

void TfrmNotas::showEvent(QShowEvent *event)
{
    // While hidden the window only notes that something changed; it reads the notes now.
    applyPendingChanges();
    QWidget::showEvent(event);
}

void TfrmNotas::noteChanged(int slot)
{
    if (!isVisible()) {
        m_reloadPending = true;
        return;
    }
    m_pending.insert(slot);
    if (!m_refresh.isActive())
        m_refresh.start();
}

void TfrmNotas::reloadAll()
{
    m_reloadPending = true;
    m_pending.clear();
    if (isVisible() && !m_refresh.isActive())
        m_refresh.start();
}

NoteSearch::Entry TfrmNotas::entryFor(int slot) const
{
    NoteSearch::Entry e;
    const TfPostIt *note = m_table ? m_table->at(slot) : nullptr;
    if (!note)
        return e;
    e.slot = slot;
    e.title = note->title();
    e.text = note->text();
    e.colour = note->color();
    e.alarm = note->alarm();
    e.alarmAt = note->alarmDateTime();
    e.from = note->footerShown() ? note->footerText() : QString();
    e.hidden = note->isHidden();
    e.prepare();
    return e;
}

void TfrmNotas::applyPendingChanges()
{
    m_refresh.stop();
    const int chosen = currentSlot();
    if (m_reloadPending) {
        m_reloadPending = false;
        m_pending.clear();
        QList<NoteSearch::Entry> rows;
        if (m_table)
            m_table->forEach([&rows, this](int slot, TfPostIt *) { rows.append(entryFor(slot)); });
        m_model->setRows(std::move(rows));
        if (chosen >= 0)
            selectSlot(chosen);
    } else {
        QList<int> noteSlots(m_pending.cbegin(), m_pending.cend());
        m_pending.clear();
        std::sort(noteSlots.begin(), noteSlots.end());
        for (const int slot : noteSlots) {
            const NoteSearch::Entry e = entryFor(slot);
            if (e.slot < 0)
                m_model->remove(slot);
            else
                m_model->put(e);
        }
    }
    keepAChosenRow();
    updateCount();
    updateCommands();
}

void TfrmNotas::searchChanged(const QString &search)
{
    m_filter->setTerms(NoteSearch::terms(search));
    // What Enter shows is the best match of what was typed last: the first row.
    m_lstNotas->setCurrentIndex(m_filter->index(0, 0));
    keepAChosenRow();
    updateCount();
    updateCommands();
}

void TfrmNotas::keepAChosenRow()
{
    // Enter must always have a note to show while the list shows any: the first one, unless
    // the user chose another that is still listed.
    const QModelIndex current = m_lstNotas->currentIndex();
    if (current.isValid()) {
        if (!m_lstNotas->selectionModel()->isRowSelected(current.row(), {}))
            m_lstNotas->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    if (m_filter->rowCount() > 0)
        m_lstNotas->setCurrentIndex(m_filter->index(0, 0));
}

bool TfrmNotas::selectSlot(int slot)
{
    const int row = m_model->rowOf(slot);
    if (row < 0)
        return false;
    const QModelIndex index = m_filter->mapFromSource(m_model->index(row, 0));
    if (!index.isValid())
        return false;
    m_lstNotas->setCurrentIndex(index);
    m_lstNotas->scrollTo(index);
    return true;
}

QList<int> TfrmNotas::listedSlots() const
{
    QList<int> noteSlots;
    for (int row = 0; row < m_filter->rowCount(); ++row)
        noteSlots << m_model->rows().at(m_filter->mapToSource(m_filter->index(row, 0)).row()).slot;
    return noteSlots;
}

int TfrmNotas::currentSlot() const
{
    const QModelIndex current = m_filter->mapToSource(m_lstNotas->currentIndex());
    return current.isValid() ? m_model->rows().at(current.row()).slot : -1;
}

void TfrmNotas::updateCount()
{
    const int total = m_model->rowCount();
    m_lblContagem->setText(m_filter->searching() ? tr("Encontradas: %1 de %2").arg(m_filter->rowCount()).arg(total)
                                                 : tr("Notas: %1").arg(total));
}

void TfrmNotas::updateCommands()
{
    const int slot = currentSlot();
    const TfPostIt *note = m_table ? m_table->at(slot) : nullptr;
    m_mnuMostrarNota->setEnabled(note);
    m_mnuOcultarNota->setEnabled(note && !note->isHidden());
    m_mnuExcluirNota->setEnabled(note);
    m_mnuConfigurarNota->setEnabled(note);
    m_cmdMostrar->setEnabled(note);
}

void TfrmNotas::openContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_lstNotas->indexAt(pos);
    if (index.isValid())
        m_lstNotas->setCurrentIndex(index);
    updateCommands();
    if (currentSlot() < 0)
        return;
    m_popNotas->popup(m_lstNotas->viewport()->mapToGlobal(pos));
}

void TfrmNotas::showCurrentNote()
{
    if (TfPostIt *note = m_table ? m_table->at(currentSlot()) : nullptr)
        note->bringToFront();
}

void TfrmNotas::hideCurrentNote()
{
    if (TfPostIt *note = m_table ? m_table->at(currentSlot()) : nullptr)
        note->hide();
}

void TfrmNotas::deleteCurrentNote()
{
    const int slot = currentSlot();
    if (m_controller && m_table && m_table->at(slot))
        QCoreApplication::postEvent(m_controller, new DeleteNoteRequest(slot));
}

void TfrmNotas::configureCurrentNote()
{
    const int slot = currentSlot();
    if (m_table && m_table->at(slot))
        emit settingsRequested(slot);
}

bool TfrmNotas::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_txtProcurar) {
        // The arrows choose in the list while the search keeps the focus.
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(m_lstNotas, event);
            return true;
        default:
            break;
        }
    } else if (watched == m_lstNotas && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        showCurrentNote();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmNotas::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested(kHelpContext);
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
