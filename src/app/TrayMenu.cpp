#include "app/TrayMenu.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMetaMethod>

TrayMenu::TrayMenu(QObject *parent) : QObject(parent), m_menu(new QMenu)
{
    m_menu->setObjectName(QStringLiteral("popPrincipal"));

    connect(addItem(m_menu, "cmdNovaNota"), &QAction::triggered, this, &TrayMenu::newNoteRequested);
    addSeparator(m_menu, "N8");
    m_mostrar = m_menu->addMenu(QString());
    m_mostrar->setObjectName(QStringLiteral("mnuMostrarMenu"));
    m_mostrar->menuAction()->setObjectName(QStringLiteral("mnuMostrar"));
    connect(addItem(m_menu, "mnuReunirNotas"), &QAction::triggered, this, &TrayMenu::gatherRequested);
    m_escondidos = m_menu->addMenu(QString());
    m_escondidos->setObjectName(QStringLiteral("mnuEscondidosMenu"));
    m_escondidos->menuAction()->setObjectName(QStringLiteral("mnuEscondidos"));
    connect(addItem(m_menu, "mnuLocalizar"), &QAction::triggered, this, &TrayMenu::findNotesRequested);
    connect(addItem(m_menu, "mnuMostrarTarefasparaHoje1"), &QAction::triggered, this, &TrayMenu::todayTasksRequested);
    addSeparator(m_menu, "N7");
    connect(addItem(m_menu, "mnuSalvarNotas"), &QAction::triggered, this, &TrayMenu::saveRequested);
    m_copiaSeg = m_menu->addMenu(QString());
    m_copiaSeg->menuAction()->setObjectName(QStringLiteral("mnuCopiaSeg"));
    connect(addItem(m_copiaSeg, "mnuBackup"), &QAction::triggered, this, &TrayMenu::backupRequested);
    connect(addItem(m_menu, "mnuRestaurarCopia"), &QAction::triggered, this, &TrayMenu::restoreRequested);
    connect(addItem(m_menu, "mnuLixeira"), &QAction::triggered, this, &TrayMenu::trashRequested);
    addSeparator(m_menu, "N4");
    connect(addItem(m_menu, "mnuAddressBook"), &QAction::triggered, this, &TrayMenu::addressBookRequested);
    addSeparator(m_menu, "N3");
    connect(addItem(m_menu, "mnuPreferencias"), &QAction::triggered, this, &TrayMenu::preferencesRequested);
    m_idioma = m_menu->addMenu(QString());
    m_idioma->setObjectName(QStringLiteral("mnuIdiomaMenu"));
    m_idioma->menuAction()->setObjectName(QStringLiteral("mnuIdioma"));
    QAction *portugues = addItem(m_idioma, "mnuPortugues");
    QAction *ingles = addItem(m_idioma, "mnuIngles");
    for (QAction *language : {portugues, ingles})
        language->setCheckable(true);
    // The locale numbers of the two languages, as the items' tags.
    portugues->setData(1046);
    ingles->setData(1033);
    // A click toggles the item's own check mark; only a switch that succeeds may move it.
    connect(portugues, &QAction::triggered, this, [this] {
        setActiveLanguage(m_activeLocale);
        emit languageRequested(1046);
    });
    connect(ingles, &QAction::triggered, this, [this] {
        setActiveLanguage(m_activeLocale);
        emit languageRequested(1033);
    });
    addSeparator(m_menu, "N2");
    connect(addItem(m_menu, "mnuWeb"), &QAction::triggered, this, &TrayMenu::webRequested);
    connect(addItem(m_menu, "mnuSobre"), &QAction::triggered, this, &TrayMenu::aboutRequested);
    addSeparator(m_menu, "N5");
    connect(addItem(m_menu, "Ajuda1"), &QAction::triggered, this, &TrayMenu::helpRequested);
    addSeparator(m_menu, "N1");
    connect(addItem(m_menu, "Sair1"), &QAction::triggered, this, &TrayMenu::quitRequested);

    connect(m_menu, &QMenu::aboutToShow, this, &TrayMenu::rebuildNoteLists);
    m_menu->installEventFilter(this);
    retranslate();
    rebuildNoteLists();
}

void TrayMenu::showAnsweredItems()
{
    // An item shows only once the program answers it, so the menu never offers a command
    // that does nothing; each separator goes with the items it sets apart.
    const bool book = isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::addressBookRequested));
    const bool preferences = isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::preferencesRequested));
    const bool languages = isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::languageRequested));
    const bool help = isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::helpRequested));
    const bool find = isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::findNotesRequested));
    item(QStringLiteral("mnuLocalizar"))->setVisible(find);
    item(QStringLiteral("mnuReunirNotas"))->setVisible(isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::gatherRequested)));
    item(QStringLiteral("mnuRestaurarCopia"))->setVisible(isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::restoreRequested)));
    item(QStringLiteral("mnuLixeira"))->setVisible(isSignalConnected(QMetaMethod::fromSignal(&TrayMenu::trashRequested)));
    item(QStringLiteral("N4"))->setVisible(book);
    item(QStringLiteral("mnuAddressBook"))->setVisible(book);
    item(QStringLiteral("N3"))->setVisible(preferences || languages);
    item(QStringLiteral("mnuPreferencias"))->setVisible(preferences);
    item(QStringLiteral("mnuIdioma"))->setVisible(languages);
    item(QStringLiteral("N5"))->setVisible(help);
    item(QStringLiteral("Ajuda1"))->setVisible(help);
}

void TrayMenu::setActiveLanguage(int localeId)
{
    m_activeLocale = localeId;
    item(QStringLiteral("mnuPortugues"))->setChecked(localeId == 1046);
    item(QStringLiteral("mnuIngles"))->setChecked(localeId == 1033);
}

bool TrayMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_menu && event->type() == QEvent::LanguageChange) {
        retranslate();
        // "<Todos>" is rebuilt at every opening; the open menu shows it right away too.
        if (QAction *all = m_mostrar->findChild<QAction *>(QStringLiteral("mnuTodos")))
            all->setText(tr("<Todos>"));
    }
    return QObject::eventFilter(watched, event);
}

TrayMenu::~TrayMenu()
{
    delete m_menu;
}

namespace {
// Titles show as they stand: an ampersand in a title is not an access key.
QString menuCaption(const QString &title)
{
    return QString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

QAction *TrayMenu::addItem(QMenu *menu, const char *objectName)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
}

void TrayMenu::addSeparator(QMenu *menu, const char *objectName)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(objectName));
}

QAction *TrayMenu::item(const QString &objectName) const
{
    return m_menu->findChild<QAction *>(objectName);
}

void TrayMenu::retranslate()
{
    const auto set = [this](const char *name, const QString &caption) { item(QString::fromLatin1(name))->setText(caption); };
    set("cmdNovaNota", tr("&Nova Nota"));
    set("mnuMostrar", tr("Mo&strar"));
    set("mnuReunirNotas", tr("Reunir Notas"));
    set("mnuRestaurarCopia", tr("Restaurar Cópia..."));
    set("mnuLixeira", tr("Lixeira..."));
    set("mnuEscondidos", tr("M&ostrar Escondidas"));
    set("mnuLocalizar", tr("&Localizar Notas..."));
    set("mnuMostrarTarefasparaHoje1", tr("Mostrar Tarefas para &Hoje"));
    set("mnuSalvarNotas", tr("Salvar A&gora"));
    set("mnuCopiaSeg", tr("Cópia de &Segurança"));
    set("mnuBackup", tr("&Salvar"));
    set("mnuAddressBook", tr("&Caderneta de Contatos"));
    set("mnuPreferencias", tr("&Preferências..."));
    set("mnuIdioma", tr("&Idioma"));
    set("mnuPortugues", tr("Português"));
    set("mnuIngles", tr("Inglês"));
    set("mnuWeb", tr("Corkvane na Web..."));
    set("mnuSobre", tr("Sobre o Sistema..."));
    set("Ajuda1", tr("A&juda"));
    set("Sair1", tr("&Sair"));
}

void TrayMenu::rebuildNoteLists()
{
    showAnsweredItems();
    const QList<TrayNoteEntry> notes = m_notes ? m_notes() : QList<TrayNoteEntry>();

    m_escondidos->clear();
    for (const TrayNoteEntry &note : notes) {
        if (!note.hidden)
            continue;
        const int slot = note.slot;
        QAction *a = m_escondidos->addAction(menuCaption(note.title));
        a->setData(slot);
        connect(a, &QAction::triggered, this, [this, slot] { emit showNoteRequested(slot); });
    }
    m_escondidos->menuAction()->setEnabled(!m_escondidos->actions().isEmpty());

    m_mostrar->clear();
    QAction *all = m_mostrar->addAction(tr("<Todos>"));
    all->setObjectName(QStringLiteral("mnuTodos"));
    connect(all, &QAction::triggered, this, &TrayMenu::showAllRequested);
    m_mostrar->addSeparator();
    for (const TrayNoteEntry &note : notes) {
        const int slot = note.slot;
        QAction *a = m_mostrar->addAction(menuCaption(note.title));
        a->setData(slot);
        connect(a, &QAction::triggered, this, [this, slot] { emit showNoteRequested(slot); });
    }
    m_mostrar->menuAction()->setEnabled(!notes.isEmpty());
}
