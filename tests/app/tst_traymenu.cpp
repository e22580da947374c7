#include "app/Artwork.h"
#include "app/Sobre.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "platform/Locale.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include "support/MenuCaptions.h"

#include <QtTest>

class TestTrayMenu : public QObject
{
    Q_OBJECT
private slots:
    void theMenuHoldsEveryItemInOrder()
    {
        TrayMenu tray;
        QCOMPARE(menuCaptions(tray.menu()),
                 (QStringList{"&Nova Nota", "-", "Mo&strar", "M&ostrar Escondidas", "Mostrar Tarefas para &Hoje", "-",
                              "Salvar A&gora", "Cópia de &Segurança", "-", "Corkvane na Web...", "Sobre o Sistema...",
                              "-", "&Sair"}));
        QCOMPARE(menuCaptions(tray.item("mnuCopiaSeg")->menu()), QStringList{"&Salvar"});
    }

    void itemsShowOnceTheProgramAnswersThem()
    {
        TrayMenu tray;
        QObject answer;
        connect(&tray, &TrayMenu::addressBookRequested, &answer, [] {});
        connect(&tray, &TrayMenu::preferencesRequested, &answer, [] {});
        connect(&tray, &TrayMenu::languageRequested, &answer, [](int) {});
        connect(&tray, &TrayMenu::helpRequested, &answer, [] {});
        connect(&tray, &TrayMenu::findNotesRequested, &answer, [] {});
        tray.rebuildNoteLists();
        QCOMPARE(menuCaptions(tray.menu()),
                 (QStringList{"&Nova Nota", "-", "Mo&strar", "M&ostrar Escondidas", "&Localizar Notas...",
                              "Mostrar Tarefas para &Hoje", "-",
                              "Salvar A&gora", "Cópia de &Segurança", "-", "&Caderneta de Contatos", "-",
                              "&Preferências...", "&Idioma", "-", "Corkvane na Web...", "Sobre o Sistema...", "-",
                              "A&juda", "-", "&Sair"}));
        QCOMPARE(menuCaptions(tray.item("mnuIdioma")->menu()), (QStringList{"Português", "Inglês"}));
        QSignalSpy find(&tray, &TrayMenu::findNotesRequested);
        tray.item("mnuLocalizar")->trigger();
        QCOMPARE(find.size(), 1);
        QSignalSpy chosen(&tray, &TrayMenu::languageRequested);
        tray.item("mnuIngles")->trigger();
        QCOMPARE(chosen.takeFirst().at(0).toInt(), 1033);
        tray.setActiveLanguage(1046);
        QVERIFY(tray.item("mnuPortugues")->isChecked() && !tray.item("mnuIngles")->isChecked());
    }

    // "Reunir Notas" sits under "Mostrar"; "Restaurar Cópia..." and "Lixeira..." by the backup.
    void recoveryRowsStandByTheirNeighbours()
    {
        TrayMenu tray;
        QObject answer;
        QSignalSpy gather(&tray, &TrayMenu::gatherRequested);
        QSignalSpy restore(&tray, &TrayMenu::restoreRequested);
        QSignalSpy trash(&tray, &TrayMenu::trashRequested);
        connect(&tray, &TrayMenu::gatherRequested, &answer, [] {});
        connect(&tray, &TrayMenu::restoreRequested, &answer, [] {});
        connect(&tray, &TrayMenu::trashRequested, &answer, [] {});
        tray.rebuildNoteLists();
        QCOMPARE(menuCaptions(tray.menu()),
                 (QStringList{"&Nova Nota", "-", "Mo&strar", "Reunir Notas", "M&ostrar Escondidas",
                              "Mostrar Tarefas para &Hoje", "-", "Salvar A&gora", "Cópia de &Segurança",
                              "Restaurar Cópia...", "Lixeira...", "-", "Corkvane na Web...", "Sobre o Sistema...", "-",
                              "&Sair"}));
        tray.item("mnuReunirNotas")->trigger();
        tray.item("mnuRestaurarCopia")->trigger();
        tray.item("mnuLixeira")->trigger();
        QCOMPARE(gather.size() + restore.size() + trash.size(), 3);
        QCOMPARE(gather.size() * restore.size() * trash.size(), 1);
    }

    void noteListsAreRebuiltAtEachOpening()
    {
        TrayMenu tray;
        QList<TrayNoteEntry> notes;
        tray.setNoteProvider([&notes] { return notes; });
        tray.rebuildNoteLists();
        QVERIFY(!tray.item("mnuMostrar")->isEnabled());
        QVERIFY(!tray.item("mnuEscondidos")->isEnabled());

        notes = {{0, "shown A", false}, {2, "hidden & B", true}, {5, "shown C", false}};
        emit tray.menu()->aboutToShow();
        QVERIFY(tray.item("mnuMostrar")->isEnabled());
        QVERIFY(tray.item("mnuEscondidos")->isEnabled());
        QCOMPARE(menuCaptions(tray.item("mnuMostrar")->menu()),
                 (QStringList{"<Todos>", "-", "shown A", "hidden && B", "shown C"}));
        QCOMPARE(menuCaptions(tray.item("mnuEscondidos")->menu()), QStringList{"hidden && B"});

        QSignalSpy show(&tray, &TrayMenu::showNoteRequested);
        QSignalSpy all(&tray, &TrayMenu::showAllRequested);
        tray.item("mnuEscondidos")->menu()->actions().at(0)->trigger();
        QCOMPARE(show.size(), 1);
        QCOMPARE(show.at(0).at(0).toInt(), 2);
        tray.item("mnuMostrar")->menu()->actions().at(4)->trigger();
        QCOMPARE(show.at(1).at(0).toInt(), 5);
        tray.item("mnuMostrar")->menu()->actions().at(0)->trigger();
        QCOMPARE(all.size(), 1);

        notes = {{5, "shown C", false}};
        emit tray.menu()->aboutToShow();
        QVERIFY(!tray.item("mnuEscondidos")->isEnabled());
        QCOMPARE(menuCaptions(tray.item("mnuMostrar")->menu()), (QStringList{"<Todos>", "-", "shown C"}));
    }

    void clicksAndTheBlinkingOfTheIcon()
    {
        QMenu menu;
        TrayIcon icon(&menu);
        QCOMPARE(icon.toolTip(), QStringLiteral("Duplo-clique para criar nota"));
        QSignalSpy clicked(&icon, &TrayIcon::clicked);
        QSignalSpy doubled(&icon, &TrayIcon::doubleClicked);
        icon.handleActivation(QSystemTrayIcon::Trigger);
        icon.handleActivation(QSystemTrayIcon::DoubleClick);
        icon.handleActivation(QSystemTrayIcon::Context);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(doubled.size(), 1);

        QCOMPARE(icon.currentFrame(), -1);
        icon.setAnimated(true);
        QCOMPARE(icon.currentFrame(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(icon.currentFrame(), 1, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(icon.currentFrame(), 0, 2000);
        icon.setAnimated(false);
        QCOMPARE(icon.currentFrame(), -1);
        QVERIFY(!icon.animated());
    }

    // The toolkit's icon is made only once a notification area is there (the toolkit settles
    // for one kind of area, for the whole run, when its first icon is made); it then carries
    // what the icon was given before, and stays through the area going and coming back.
    void iconWaitsForANotificationArea()
    {
        QMenu menu;
        TrayIcon icon(&menu, nullptr, TrayIcon::Watch::None);
        QSignalSpy availability(&icon, &TrayIcon::notificationAreaAvailabilityChanged);
        icon.show();
        icon.setAnimated(true);  // an alarm rang before any notification area was there
        QVERIFY(!icon.notificationAreaAvailable());
        QVERIFY(!icon.systemIcon());

        icon.notificationAreaChanged(true);
        QSystemTrayIcon *made = icon.systemIcon();
        QVERIFY(made);
        QVERIFY(made->isVisible());
        QCOMPARE(made->toolTip(), QStringLiteral("Duplo-clique para criar nota"));
        QCOMPARE(made->contextMenu(), &menu);
        const auto picture = [](const QIcon &i) { return i.pixmap(16, 16).toImage(); };
        QCOMPARE(picture(made->icon()), picture(Artwork::alarmFrame(icon.currentFrame())));
        icon.setAnimated(false);
        QCOMPARE(picture(made->icon()), picture(Artwork::applicationIcon()));
        QSignalSpy activated(&icon, &TrayIcon::doubleClicked);
        emit made->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(activated.size(), 1);

        // A panel restart: the same icon, shown again.
        icon.notificationAreaChanged(false);
        icon.notificationAreaChanged(false);
        icon.notificationAreaChanged(true);
        QCOMPARE(icon.systemIcon(), made);
        QVERIFY(made->isVisible());
        QCOMPARE(availability.size(), 3);
        QCOMPARE(availability.at(1).at(0).toBool(), false);

        // Hidden (the program ending), a returning area does not bring it back.
        icon.hide();
        icon.notificationAreaChanged(false);
        icon.notificationAreaChanged(true);
        QVERIFY(!made->isVisible());

        // An icon never asked to show is made, but stays hidden.
        TrayIcon quiet(&menu, nullptr, TrayIcon::Watch::None);
        quiet.notificationAreaChanged(true);
        QVERIFY(quiet.systemIcon());
        QVERIFY(!quiet.systemIcon()->isVisible());
    }

    void aboutBoxShowsTheCompiledVersion()
    {
        TfrmSobre about;
        QCOMPARE(about.windowTitle(), QStringLiteral("Sobre o Sistema"));
        about.show();
        const QString expected = QStringLiteral(CORKVANE_VERSION " ") + QStringLiteral(" (Build ")
                                 + QStringLiteral(CORKVANE_VERSION).remove('.') + QStringLiteral(")\r");
        QCOMPARE(about.findChild<QLabel *>("lblVersao")->text(), expected);
        about.hide();

        TfrmSobre bare(nullptr, std::nullopt);
        bare.show();
        QCOMPARE(bare.findChild<QLabel *>("lblVersao")->text(), QStringLiteral("Aqui fica a versão"));
        TfrmSobre noProduct(nullptr, VersionInfo{std::nullopt, QStringLiteral("1.0")});
        QCOMPARE(noProduct.findChild<QLabel *>("lblVersao")->text(), QString());
        noProduct.show();
        QCOMPARE(noProduct.findChild<QLabel *>("lblVersao")->text(), QStringLiteral("v1.2 (build 200)"));
    }
};

QTEST_MAIN(TestTrayMenu)
#include "tst_traymenu.moc"
