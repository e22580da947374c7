// The note window and the title dialog, driven headless through their real widgets.
#include "notes/ControllerEvents.h"
#include "notes/MudaCaption.h"
#include "notes/NoteLinks.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/TextCodec.h"
#include "store/StoreValues.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// Stands in for the controller: records what note windows post to it.
class Catcher : public QObject
{
public:
    QList<int> types;
    QList<int> deletedSlots;
    int count(QEvent::Type t) const { return int(types.count(int(t))); }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == DeleteNoteRequestType)
            deletedSlots.append(static_cast<DeleteNoteRequest *>(e)->slot());
        if (e->type() == DeleteNoteRequestType || e->type() == AlarmAcknowledgedType) {
            types.append(int(e->type()));
            return true;
        }
        return QObject::event(e);
    }
};

class UrlSink : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

// A turn of the mouse wheel over `target`.
void wheel(QWidget *target, int delta, Qt::KeyboardModifiers modifiers)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

NoteData sampleNote()
{
    NoteData d;
    d.caption = QStringLiteral("Reunião");
    d.visible = true;
    d.topmost = false;
    d.alarm = true;
    d.alarmDateTime = QDateTime(QDate(2026, 12, 24), QTime(18, 0, 0));
    d.useSound = true;
    d.soundFile = QStringLiteral("/tmp/bell.wav");
    d.dia = {true, false, true, false, true, false, true};
    d.remember = true;
    d.rememberNo = 3;
    d.rememberUnit = 2;
    d.note = QStringLiteral("first line\r\nsecond line\r\n");
    d.scrollbar = true;
    d.darkCaption = true;
    d.trackPosition = 5;
    d.posx = 123;
    d.posy = 77;
    d.width = 220;
    d.height = 160;
    d.font = NoteFont{QStringLiteral("Courier New"), 12, 0x0000FF, true, false};
    d.color = 0x7BFF10;
    d.rodape = QStringLiteral("De: Ana");
    return d;
}

// A press at `local` in `w`, a move by `delta` with the left button held, and the release there.
void drag(QWidget *w, QPoint local, QPoint delta)
{
    const QPoint g = w->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, g, Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent move(QEvent::MouseMove, local + delta, g + delta, Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + delta, g + delta, Qt::LeftButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &release);
}

} // namespace

class TestPostIt : public QObject
{
    Q_OBJECT

    AppSettings settings;
    Catcher catcher;

    std::unique_ptr<TfPostIt> makeNote(int tag = 7)
    {
        auto note = std::make_unique<TfPostIt>(tag, &catcher, &settings);
        note->show();
        return note;
    }
    // An item of the note menu, which is made the first time it is asked for.
    static QAction *menuItem(TfPostIt *note, const char *name)
    {
        QAction *a = note->popPrincipal()->findChild<QAction *>(QLatin1String(name));
        if (!a)
            qFatal("no menu item %s", name);
        return a;
    }

    template <typename T>
    static T *child(TfPostIt *note, const char *name)
    {
        T *w = note->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    // The hint the note menu shows with the pointer resting on `item`, the menu open.
    static QString tipShownOver(TfPostIt *note, QAction *item)
    {
        // A tip shown before fades out first.
        QToolTip::hideText();
        for (int waited = 0; QToolTip::isVisible() && waited < 3000; waited += 20)
            QTest::qWait(20);
        QMenu *menu = note->popPrincipal();
        menu->popup(note->mapToGlobal(QPoint(10, 10)));
        if (!QTest::qWaitForWindowExposed(menu))
            return QStringLiteral("<menu not shown>");
        const QRect rect = menu->actionGeometry(item);
        QHelpEvent hover(QEvent::ToolTip, rect.center(), menu->mapToGlobal(rect.center()));
        QApplication::sendEvent(menu, &hover);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        menu->hide();
        return shown;
    }

    void drainPosted()
    {
        QCoreApplication::sendPostedEvents(&catcher);
    }

private slots:
    void init()
    {
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        settings = AppSettings{};
        drainPosted();
        catcher.types.clear();
        catcher.deletedSlots.clear();
    }

    void childrenFollowTheLayoutOnResize()
    {
        auto note = makeNote();
        QCOMPARE(note->size(), QSize(170, 120));
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        auto *footer = child<QWidget>(note.get(), "pnlRodape");
        QCOMPARE(mem->geometry(), QRect(0, 16, 165, 102));
        QCOMPARE(child<QWidget>(note.get(), "pnlCaption")->geometry(), QRect(0, 0, 170, 13));
        QCOMPARE(child<QPushButton>(note.get(), "cmdApagarPostit")->geometry(), QRect(157, 0, 13, 13));
        QVERIFY(footer->isHidden());

        note->setFooterText(QStringLiteral("De: 10.0.0.2"));
        QVERIFY(note->footerShown());
        QCOMPARE(footer->geometry(), QRect(0, 106, 168, 12));
        QCOMPARE(mem->geometry().bottom() + 1, footer->geometry().top());

        note->resize(300, 200);
        QCOMPARE(footer->geometry(), QRect(0, 186, 298, 12));
        QCOMPARE(mem->geometry(), QRect(0, 16, 295, 170));
        QCOMPARE(child<QPushButton>(note.get(), "cmdEsconder")->geometry(), QRect(274, 0, 13, 13));

        note->setFooterText(QString());
        QVERIFY(!note->footerShown());
        QCOMPARE(mem->geometry(), QRect(0, 16, 295, 182));

        note->resize(10, 10);
        QCOMPARE(note->size(), QSize(80, 40));
    }

    void menuItemsHaveTheirCaptionsAndShortcuts()
    {
        auto note = makeNote();
        struct Item { const char *name; const char *caption; QKeySequence key; };
        const Item items[] = {
            {"mnuURL", "Abrir &URL", {}},
            {"mnuConfigurar", "C&onfigurar...", {}},
            {"mnuMudaCaption", "&Título da Nota...", QKeySequence(Qt::CTRL | Qt::Key_T)},
            {"mnuAlarme", "Alarme...", QKeySequence(Qt::CTRL | Qt::Key_A)},
            {"mnuOnTop", "Sempre &Visível", {}},
            {"mnuCopiar", "Co&piar", {}},
            {"mnuColar", "C&olar", {}},
            {"mnuEnviar", "Enviar...", {}},
            {"EnviarpelaRede1", "&Para um Computador...", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"mnuResponder", "&Responder para Computador...", QKeySequence(Qt::CTRL | Qt::Key_R)},
            {"EMail1", "E-Mail...", QKeySequence(Qt::CTRL | Qt::Key_E)},
            {"mnuImprimir", "&Imprimir", {}},
            {"Sair1", "&Apagar Nota...", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        };
        for (const Item &i : items) {
            auto *a = menuItem(note.get(), i.name);
            QCOMPARE(a->text(), QString::fromUtf8(i.caption));
            QCOMPARE(a->shortcut(), i.key);
        }
        QVERIFY(menuItem(note.get(), "mnuOnTop")->isCheckable());

        // Top-level order, separators included.
        QStringList order;
        for (QAction *a : note->popPrincipal()->actions())
            order << a->objectName();
        QCOMPARE(order, (QStringList{"mnuURL", "sepURL", "mnuConfigurar", "mnuMudaCaption", "mnuAlarme", "N4",
                                     "mnuOnTop", "N5", "mnuCopiar", "mnuColar", "N2", "mnuEnviar", "mnuImprimir",
                                     "N1", "Sair1"}));
    }

    void sendMenuFollowsNetworkAndFooter()
    {
        auto note = makeNote();
        auto *enviar = menuItem(note.get(), "mnuEnviar");
        auto *responder = menuItem(note.get(), "mnuResponder");
        QSignalSpy sends(note.get(), &TfPostIt::sendToComputerRequested);
        QSignalSpy mails(note.get(), &TfPostIt::emailRequested);

        settings.recRede.Enabled = false;
        note->popPrincipalPopup();
        QVERIFY(!enviar->isEnabled());
        // Greyed out, but it says why and where to change it.
        const QString hint = QString::fromUtf8("Ligue a rede em Preferências > Rede");
        QCOMPARE(tipShownOver(note.get(), enviar), hint);
        QCOMPARE(enviar->statusTip(), hint);
        // Shortcuts of the disabled submenu do nothing either.
        menuItem(note.get(), "EnviarpelaRede1")->trigger();
        menuItem(note.get(), "EMail1")->trigger();
        QCOMPARE(sends.count(), 0);
        QCOMPARE(mails.count(), 0);

        settings.recRede.Enabled = true;
        note->popPrincipalPopup();
        QVERIFY(enviar->isEnabled());
        QCOMPARE(tipShownOver(note.get(), enviar), QString());
        QVERIFY(!responder->isVisible());
        menuItem(note.get(), "EnviarpelaRede1")->trigger();
        menuItem(note.get(), "EMail1")->trigger();
        QCOMPARE(sends.count(), 1);
        QCOMPARE(sends.at(0), (QVariantList{7, false}));
        QCOMPARE(mails.at(0), QVariantList{7});

        note->setFooterText(QStringLiteral("De: Ana"));
        note->popPrincipalPopup();
        QVERIFY(responder->isVisible());
        responder->trigger();
        QCOMPARE(sends.at(1), (QVariantList{7, true}));
    }

    void addressItemFollowsTheSelectionAndOpensIt()
    {
        auto note = makeNote();
        UrlSink sink;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &sink, "open");
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        auto *url = menuItem(note.get(), "mnuURL");
        note->setText(QStringLiteral("veja www.example.com hoje"));

        note->popPrincipalPopup();
        QVERIFY(!url->isVisible());  // nothing selected

        QTextCursor c = mem->textCursor();
        c.setPosition(5);
        c.setPosition(20, QTextCursor::KeepAnchor);
        mem->setTextCursor(c);
        note->popPrincipalPopup();
        QVERIFY(url->isVisible());
        QVERIFY(menuItem(note.get(), "sepURL")->isVisible());
        url->trigger();
        QCOMPARE(sink.opened.size(), 1);
        QCOMPARE(sink.opened.first().host(), QStringLiteral("www.example.com"));

        c.setPosition(0);
        c.setPosition(4, QTextCursor::KeepAnchor);
        mem->setTextCursor(c);
        note->popPrincipalPopup();
        QVERIFY(!url->isVisible());
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }

    void noteMenuOpensFromTitleBarFooterAndRim()
    {
        auto note = makeNote();
        note->setFooterText(QStringLiteral("De: Ana"));
        QMenu *menu = note->popPrincipal();
        for (const char *name : {"pnlCaption", "lblCaption", "lblRodape", "TfPostIt"}) {
            QWidget *w = qstrcmp(name, "TfPostIt") == 0 ? note.get() : child<QWidget>(note.get(), name);
            const QPoint local = w == note.get() ? QPoint(90, 14) : QPoint(2, 2);
            QContextMenuEvent e(QContextMenuEvent::Mouse, local, w->mapToGlobal(local));
            QCoreApplication::sendEvent(w, &e);
            QVERIFY2(menu->isVisible(), name);
            menu->hide();
        }
    }

    void dragMovesByTitleFooterAndRimButNotFromAGrip()
    {
        auto note = makeNote();
        note->setFooterText(QStringLiteral("De: Ana"));
        note->move(200, 150);
        // The window system of the test run has no move loop, so the window follows the pointer.
        drag(child<QLabel>(note.get(), "lblCaption"), QPoint(4, 4), QPoint(30, 20));
        QCOMPARE(note->pos(), QPoint(230, 170));
        drag(child<QWidget>(note.get(), "pnlRodape"), QPoint(60, 4), QPoint(-10, 5));
        QCOMPARE(note->pos(), QPoint(220, 175));
        drag(note.get(), QPoint(90, 14), QPoint(5, 5));  // the gap under the title bar
        QCOMPARE(note->pos(), QPoint(225, 180));
        // A corner grip resizes (through the window system) and never moves the window.
        drag(note.get(), QPoint(note->width() - 2, note->height() - 1), QPoint(40, 40));
        QCOMPARE(note->pos(), QPoint(225, 180));

        // The pointer shape follows the zone on the bare rim.
        QMouseEvent hover(QEvent::MouseMove, QPoint(note->width() - 3, note->height() - 20),
                          note->mapToGlobal(QPoint(note->width() - 3, note->height() - 20)), Qt::NoButton,
                          Qt::NoButton, {});
        QCoreApplication::sendEvent(note.get(), &hover);
        QCOMPARE(note->cursor().shape(), Qt::SizeHorCursor);
    }

    // The store keeps where the note was put or where the user moved it. A window manager
    // that places or sizes the window on its own (a compositor ignoring the place asked for,
    // or one asked before it has placed the window) changes nothing that is saved.
    void theStoredPlaceIsTheUsersNotTheWindowManagers()
    {
        auto note = makeNote();
        // The test's pointer rests where the note first showed; the window system tells.
        QVERIFY(QTest::qWaitForWindowExposed(note.get()));
        QTest::qWait(50);
        NoteData d;
        d.posx = 700;
        d.posy = 400;
        d.width = 200;
        d.height = 150;
        note->applyData(d);
        QVERIFY(QTest::qWaitForWindowExposed(note.get()));
        const auto place = [&note] { return QRect(note->data().posx, note->data().posy, note->data().width, note->data().height); };
        const auto windowManagerPuts = [&note](const QRect &geometry) {
            note->windowHandle()->setGeometry(geometry);
            QTRY_COMPARE(note->geometry(), geometry);
        };
        QVERIFY(!note->userMayMove());
        windowManagerPuts(QRect(0, 0, 300, 300));
        QCOMPARE(place(), QRect(700, 400, 200, 150));

        // The user drags the title bar: the place follows.
        drag(child<QLabel>(note.get(), "lblCaption"), QPoint(4, 4), QPoint(30, 20));
        QCOMPARE(note->pos(), QPoint(30, 20));
        QCOMPARE(place(), QRect(30, 20, 200, 150));
        // Once the user is at the note, what the window manager reports is the user's doing (a
        // drag with a modifier key, a move from the keyboard, a resize).
        windowManagerPuts(QRect(50, 60, 250, 160));
        QCOMPARE(place(), QRect(50, 60, 250, 160));

        // Shown again by the program, the window may be placed anew: that is not kept, until
        // the pointer enters the note.
        note->hide();
        note->show();
        QVERIFY(!note->userMayMove());
        windowManagerPuts(QRect(5, 5, 250, 160));
        QCOMPARE(place(), QRect(50, 60, 250, 160));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(note.get(), &enter);
        windowManagerPuts(QRect(77, 88, 250, 160));
        QCOMPARE(place(), QRect(77, 88, 250, 160));

        // A place the program gives is kept as given, even below the smallest note.
        note->place(QRect(-40, 9000, 10, 10));
        QCOMPARE(place(), QRect(-40, 9000, TfPostIt::kMinWidth, TfPostIt::kMinHeight));
        QVERIFY(!note->userMayMove());
    }

    void deleteAndHideButtons()
    {
        auto note = makeNote(42);
        QTest::mouseClick(child<QPushButton>(note.get(), "cmdApagarPostit"), Qt::LeftButton);
        menuItem(note.get(), "Sair1")->trigger();
        QVERIFY(note->isVisible());  // the note never deletes itself
        drainPosted();
        QCOMPARE(catcher.deletedSlots, (QList<int>{42, 42}));

        // Hiding a note that is not ringing acknowledges nothing.
        QTest::mouseClick(child<QPushButton>(note.get(), "cmdEsconder"), Qt::LeftButton);
        QVERIFY(!note->isVisible());
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 0);

        note->show();
        note->setRingingIconShown(true);
        QTest::mouseClick(child<QPushButton>(note.get(), "cmdEsconder"), Qt::LeftButton);
        QVERIFY(!note->isVisible());
        QVERIFY(!note->ringingIconShown());
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 1);
    }

    void clicksAcknowledgeARingingAlarm()
    {
        auto note = makeNote();
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        auto *titleText = child<QLabel>(note.get(), "lblCaption");
        auto *ringing = child<QLabel>(note.get(), "imgAlarmeOn");

        // The text area acknowledges even when nothing rang.
        QTest::mouseClick(mem->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 1);

        // The title text only while ringing; the icons end up with no alarm shown.
        QTest::mouseClick(titleText, Qt::LeftButton, {}, QPoint(3, 3));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 1);
        note->setRemember(true);
        note->setRingingIconShown(true);
        QTest::mouseClick(titleText, Qt::LeftButton, {}, QPoint(3, 3));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 2);
        QVERIFY(!note->ringingIconShown());
        QVERIFY(!note->armedIconShown());

        // Only a click on the ringing icon itself brings back the armed icon of a recurring alarm.
        note->setRingingIconShown(true);
        QTest::mouseClick(ringing, Qt::LeftButton, {}, QPoint(5, 5));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 3);
        QVERIFY(!note->ringingIconShown());
        QVERIFY(note->armedIconShown());

        note->setArmedIconShown(false);
        note->setRemember(false);
        note->setRingingIconShown(true);
        QTest::mouseClick(ringing, Qt::LeftButton, {}, QPoint(5, 5));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 4);
        QVERIFY(!note->armedIconShown());
        QVERIFY(!note->ringingIconShown());
    }

    void doubleClickOnAnAlarmIconOpensTheAlarmPage()
    {
        auto note = makeNote(3);
        QSignalSpy spy(note.get(), &TfPostIt::configureRequested);
        note->setArmedIconShown(true);
        QTest::mouseDClick(child<QLabel>(note.get(), "imgAlarme"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0), (QVariantList{3, true}));
        menuItem(note.get(), "mnuConfigurar")->trigger();
        QCOMPARE(spy.at(1), (QVariantList{3, false}));
    }

    void shortcutsWorkWhileTypingInTheText()
    {
        auto note = makeNote(5);
        note->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(note.get()));
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        mem->setFocus();
        QTest::keyClicks(mem, QStringLiteral("abc"));
        QCOMPARE(note->text(), QStringLiteral("abc"));

        QVERIFY(!note->findChild<QMenu *>());  // the keys work before the menu is ever made
        QSignalSpy configure(note.get(), &TfPostIt::configureRequested);
        QTest::keyClick(mem, Qt::Key_A, Qt::ControlModifier);  // the alarm page, not select-all
        QCOMPARE(configure.count(), 1);
        QCOMPARE(configure.at(0), (QVariantList{5, true}));
        QVERIFY(!mem->textCursor().hasSelection());
        // With the focus on the note itself; with another modifier too it is no shortcut.
        QTest::keyClick(note.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(mem, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(configure.count(), 2);
        // Ctrl+R answers only a received note (its item is hidden otherwise).
        QSignalSpy sends(note.get(), &TfPostIt::sendToComputerRequested);
        settings.recRede.Enabled = true;
        QTest::keyClick(mem, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(sends.count(), 0);
        note->setFooterText("Enviado por ana");
        QTest::keyClick(mem, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(sends.count(), 1);
        QCOMPARE(sends.at(0), (QVariantList{5, true}));

        QTest::keyClick(mem, Qt::Key_Q, Qt::ControlModifier);
        drainPosted();
        QCOMPARE(catcher.deletedSlots, QList<int>{5});

        QSignalSpy help(note.get(), &TfPostIt::helpRequested);
        QTest::keyClick(mem, Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0), QVariantList{1});
    }

    void zoomChangesTheNotesFontSize()
    {
        auto note = makeNote();
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        note->setText(QStringLiteral("zoom\r\n"));
        note->setNoteFont(NoteFont{QStringLiteral("Arial"), 12, 0, false, false});
        mem->setFocus();
        // Each row: what is done, and the stored size after it.
        const struct { std::function<void()> act; int size; const char *what; } steps[] = {
            {[&] { QTest::keyClick(mem, Qt::Key_Plus, Qt::ControlModifier); }, 13, "Ctrl++"},
            {[&] { QTest::keyClick(mem, Qt::Key_Equal, Qt::ControlModifier); }, 14, "Ctrl+="},
            {[&] { QTest::keyClick(mem, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier); }, 15, "Ctrl+Shift++"},
            {[&] { QTest::keyClick(mem, Qt::Key_Minus, Qt::ControlModifier); }, 14, "Ctrl+-"},
            {[&] { QTest::keyClick(mem, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier); }, 13, "keypad"},
            {[&] { QTest::keyClick(note.get(), Qt::Key_Plus, Qt::ControlModifier); }, 14, "on the note itself"},
            {[&] { QTest::keyClick(mem, Qt::Key_0, Qt::ControlModifier); }, 12, "Ctrl+0"},
            {[&] { wheel(mem->viewport(), 120, Qt::ControlModifier); }, 13, "wheel up"},
            {[&] { wheel(mem->viewport(), 60, Qt::ControlModifier); }, 13, "half a notch"},
            {[&] { wheel(mem->viewport(), 60, Qt::ControlModifier); }, 14, "the other half"},
            {[&] { wheel(mem->viewport(), -360, Qt::ControlModifier); }, 11, "three down"},
            {[&] { wheel(mem->viewport(), 120, Qt::NoModifier); }, 11, "wheel without Ctrl scrolls"},
            {[&] { note->setNoteFont(NoteFont{QStringLiteral("Arial"), 20, 0, false, false}); }, 20, "settings"},
            {[&] { QTest::keyClick(mem, Qt::Key_Minus, Qt::ControlModifier); }, 19, "Ctrl+- after settings"},
            {[&] { QTest::keyClick(mem, Qt::Key_0, Qt::ControlModifier); }, 20, "Ctrl+0 back to the settings' size"},
        };
        for (const auto &step : steps) {
            step.act();
            QVERIFY2(note->data().font.size == step.size,
                     qPrintable(QStringLiteral("%1: %2").arg(step.what).arg(note->data().font.size)));
            QCOMPARE(mem->font().pointSize(), step.size);
        }
        // The keys typed nothing, and the rest of the font is as it was.
        QCOMPARE(note->text(), QStringLiteral("zoom\r\n"));
        QCOMPARE(note->noteFont().name, QStringLiteral("Arial"));

        // A note loaded from the store goes back to its stored size.
        NoteData loaded = sampleNote();
        note->applyData(loaded);
        note->zoom(3);
        QCOMPARE(note->data().font.size, loaded.font.size + 3);
        note->resetZoom();
        QCOMPARE(note->data().font.size, loaded.font.size);
    }

    void linksAreDrawnWithoutTouchingTheText()
    {
        auto note = makeNote();
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        const QString stored = QStringLiteral("veja www.example.com\r\nsem link\r\nana@example.com.br!");
        note->setText(stored);
        const auto linkRanges = [mem](int blockNumber) {
            QList<std::pair<int, int>> ranges;
            for (const QTextLayout::FormatRange &r : mem->document()->findBlockByNumber(blockNumber).layout()->formats())
                if (r.format.fontUnderline())
                    ranges.append({r.start, r.length});
            return ranges;
        };
        QTRY_COMPARE(linkRanges(0), (QList<std::pair<int, int>>{{5, 15}}));
        QCOMPARE(linkRanges(1), (QList<std::pair<int, int>>{}));
        QCOMPARE(linkRanges(2), (QList<std::pair<int, int>>{{0, 18}}));
        const auto linkColour = [mem] {
            return mem->document()->firstBlock().layout()->formats().at(0).format.foreground().color();
        };
        QCOMPARE(linkColour(), NoteLinks::linkColour(toQColor(note->color())));
        // On a dark note the links turn light.
        note->setColor(0x200000);
        QCOMPARE(linkColour(), NoteLinks::linkColour(toQColor(0x200000)));
        QVERIFY(NoteLinks::contrastRatio(linkColour(), toQColor(0x200000)) >= 4.5);

        QCOMPARE(note->text(), stored);
        QCOMPARE(note->data().note, stored);
        QVERIFY(!mem->document()->isModified());
        QVERIFY(!mem->document()->isUndoAvailable());
        QCOMPARE(mem->document()->toRawText(), QString(stored).replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator)));

        // Typing a link in draws it too.
        mem->moveCursor(QTextCursor::End);
        QTest::keyClicks(mem, QStringLiteral(" https://example.org/a"));
        QTRY_COMPARE(linkRanges(2), (QList<std::pair<int, int>>{{0, 18}, {20, 21}}));
        QCOMPARE(note->text(), stored + QStringLiteral(" https://example.org/a"));
    }

    void ctrlClickOpensTheLinkUnderThePointer()
    {
        auto note = makeNote();
        note->resize(400, 160);
        auto *mem = child<QPlainTextEdit>(note.get(), "memPostit");
        UrlSink sink;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &sink, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &sink, "open");
        const QString stored = QStringLiteral("veja www.example.com ou ana@example.com");
        note->setText(stored);
        QTextCursor caret = mem->textCursor();
        caret.setPosition(2);
        mem->setTextCursor(caret);
        // The middle of a character of the text.
        const auto pointAt = [mem](int position) {
            QTextCursor c(mem->document());
            c.setPosition(position);
            const QRect r = mem->cursorRect(c);
            const int width = mem->fontMetrics().horizontalAdvance(mem->document()->characterAt(position));
            return QPoint(r.left() + width / 2, r.center().y());
        };
        const struct { QPoint at; Qt::KeyboardModifiers modifiers; QList<QUrl> opened; const char *what; } clicks[] = {
            {pointAt(10), Qt::ControlModifier, {QUrl("http://www.example.com")}, "Ctrl+click inside the address"},
            {pointAt(5), Qt::ControlModifier, {QUrl("http://www.example.com")}, "on its first character"},
            {pointAt(19), Qt::ControlModifier, {QUrl("http://www.example.com")}, "on its last character"},
            {pointAt(28), Qt::ControlModifier, {QUrl("mailto:ana@example.com")}, "on a mail address"},
            {pointAt(10), Qt::NoModifier, {}, "a plain click edits"},
            {pointAt(1), Qt::ControlModifier, {}, "Ctrl+click beside the address"},
            {pointAt(20), Qt::ControlModifier, {}, "on the blank after it"},
            {pointAt(stored.size() - 1) + QPoint(40, 0), Qt::ControlModifier, {}, "past the end of the line"},
            {pointAt(10) + QPoint(0, 40), Qt::ControlModifier, {}, "below the text"},
        };
        for (const auto &click : clicks) {
            sink.opened.clear();
            const int caretBefore = mem->textCursor().position();
            QTest::mouseClick(mem->viewport(), Qt::LeftButton, click.modifiers, click.at);
            QVERIFY2(sink.opened == click.opened, click.what);
            if (!click.opened.isEmpty()) {
                // The caret stays where it was; nothing is selected.
                QCOMPARE(mem->textCursor().position(), caretBefore);
                QVERIFY(!mem->textCursor().hasSelection());
            }
        }
        // A press on one link and a release elsewhere opens nothing.
        sink.opened.clear();
        QTest::mousePress(mem->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(10));
        QTest::mouseRelease(mem->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(1));
        QVERIFY(sink.opened.isEmpty());
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(note->text(), stored);
        // A Ctrl+click acknowledges a ringing alarm like any click on the text.
        drainPosted();
        catcher.types.clear();
        QTest::mouseClick(mem->viewport(), Qt::LeftButton, Qt::ControlModifier, pointAt(10));
        drainPosted();
        QCOMPARE(catcher.count(AlarmAcknowledgedType), 1);
    }

    void dataRoundTripsThroughTheWindow()
    {
        auto note = std::make_unique<TfPostIt>(0, &catcher, &settings);
        const NoteData in = sampleNote();
        note->applyData(in);
        QVERIFY(note->isVisible());
        QVERIFY(note->armedIconShown());
        QVERIFY(!note->ringingIconShown());
        QVERIFY(note->footerShown());
        QCOMPARE(note->captionColour(), CaptionShade(0x7BFF10, 5));
        QCOMPARE(note->titleFontColour(), 0x0000FF);
        QCOMPARE(note->data(), in);

        // Without an alarm the icon goes and the alarm fields the window holds are kept.
        NoteData off = in;
        off.alarm = false;
        off.soundFile.clear();
        off.rememberNo = 0;
        off.visible = false;
        off.rodape.clear();
        off.note = QStringLiteral("só uma linha");
        note->applyData(off);
        QVERIFY(!note->armedIconShown());
        QVERIFY(!note->isVisible());
        QVERIFY(!note->footerShown());
        const NoteData out = note->data();
        QCOMPARE(out.alarm, false);
        QCOMPARE(out.soundFile, in.soundFile);
        QCOMPARE(out.rememberNo, in.rememberNo);
        QCOMPARE(out.visible, false);
        QCOMPARE(out.rodape, QString());
        QCOMPARE(out.note, off.note);
    }

    void topmostKeepsGeometryAndVisibility()
    {
        auto note = makeNote();
        note->setGeometry(150, 90, 200, 130);
        const QRect before = note->geometry();
        menuItem(note.get(), "mnuOnTop")->trigger();
        QVERIFY(note->topmost());
        QVERIFY(note->isVisible());
        QCOMPARE(note->geometry(), before);
        QVERIFY(note->data().topmost);
        menuItem(note.get(), "mnuOnTop")->trigger();
        QVERIFY(!note->topmost());
        QCOMPARE(note->geometry(), before);

        NoteData d = note->data();
        d.topmost = true;
        note->applyData(d);
        QVERIFY(menuItem(note.get(), "mnuOnTop")->isChecked());
    }

    void textKeepsCrLfAndAppendsLines()
    {
        auto note = makeNote();
        note->appendText(QStringLiteral("um"));
        QCOMPARE(note->text(), QStringLiteral("um"));
        note->appendText(QStringLiteral("dois\r\ntrês"));
        QCOMPARE(note->text(), QStringLiteral("um\r\ndois\r\ntrês"));
        note->setText(QStringLiteral("a\r\n\r\nb\r\n"));
        QCOMPARE(note->text(), QStringLiteral("a\r\n\r\nb\r\n"));
        // What the user types shows in the next read of the text, as in the next save.
        auto *mem = note->findChild<QPlainTextEdit *>(QStringLiteral("memPostit"));
        mem->moveCursor(QTextCursor::End);
        QTest::keyClicks(mem, QStringLiteral("c"));
        QCOMPARE(note->data().note, QStringLiteral("a\r\n\r\nb\r\nc"));
    }

    // A stored text comes back from the text area byte for byte; only line breaks take the
    // store's one form.
    void storedTextSurvivesTheTextArea_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("saved");
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            if (b != '\r' && b != '\n')
                every += char(b);
        QTest::newRow("every byte") << every << every;
        QTest::newRow("no-break spaces") << QByteArray("\xA0" "a\xA0\xA0" "b\\n\xA0\\n\xA0") << QByteArray();
        QTest::newRow("NUL and controls") << QByteArray("a\0b\x01\t\x0B\x0C\x1F\x7F\\n\0") << QByteArray();
        QTest::newRow("typed backslash n") << QByteArray("a\\nb\\n\\n") << QByteArray();
        QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << QByteArray("a\\nb\\nc");
    }
    void storedTextSurvivesTheTextArea()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, saved);
        if (saved.isEmpty())
            saved = stored;
        auto note = makeNote();
        note->setText(StoreValues::decodeNoteText(TextCodec::fromWin1252(stored)));
        QCOMPARE(TextCodec::toWin1252(StoreValues::encodeNoteText(note->text())), saved);
        // Typing elsewhere in the text leaves the rest as it was.
        auto *mem = note->findChild<QPlainTextEdit *>(QStringLiteral("memPostit"));
        mem->moveCursor(QTextCursor::Start);
        QTest::keyClicks(mem, QStringLiteral("z"));
        QCOMPARE(TextCodec::toWin1252(StoreValues::encodeNoteText(note->data().note)), "z" + saved);
    }

    void charactersTheTextAreaShowsAsBreaksAreSavedAsBreaks()
    {
        auto note = makeNote();
        auto *mem = note->findChild<QPlainTextEdit *>(QStringLiteral("memPostit"));
        mem->insertPlainText(QStringLiteral("a\u2028b\u2029c\u00A0"));
        QCOMPARE(note->text(), QStringLiteral("a\r\nb\r\nc\u00A0"));
    }

    void appendedLinesAreEachANewLastLine_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty lines first") << QString() << QStringList{"", "", "x"} << "\r\n\r\nx";
        QTest::newRow("one empty line") << QString() << QStringList{""} << "";
        QTest::newRow("two empty lines") << QString() << QStringList{"", ""} << "\r\n";
        QTest::newRow("empty line last") << QString() << QStringList{"a", ""} << "a\r\n";
        QTest::newRow("after a text") << "t" << QStringList{"", "x"} << "t\r\n\r\nx";
        QTest::newRow("line with breaks") << QString() << QStringList{"", "a\r\nb"} << "\r\na\r\nb";
    }
    void appendedLinesAreEachANewLastLine()
    {
        QFETCH(QString, start);
        QFETCH(QStringList, lines);
        QFETCH(QString, text);
        auto note = makeNote();
        note->appendText(QStringLiteral("dropped by the next setText"));
        note->setText(start);
        for (const QString &line : lines)
            note->appendText(line);
        QCOMPARE(note->text(), text);
    }

    void titleHintOnlyForTitlesWiderThanTheWindow()
    {
        auto note = makeNote();
        auto *titleText = child<QLabel>(note.get(), "lblCaption");
        note->setTitle(QStringLiteral("curto"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(titleText, &enter);
        QVERIFY(!note->hintsShown());

        const QString longTitle = QStringLiteral("Um título bem comprido que não cabe na nota de forma alguma");
        note->setTitle(longTitle);
        QCoreApplication::sendEvent(titleText, &enter);
        QVERIFY(note->hintsShown());
        QCOMPARE(note->toolTip(), longTitle);

        note->resize(900, 120);  // now it fits
        QCoreApplication::sendEvent(titleText, &enter);
        QVERIFY(!note->hintsShown());
    }

    void printsHeaderThenTextToPdf()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("note.pdf"));
        auto note = makeNote();
        note->setTitle(QStringLiteral("Lista de compras"));
        note->setText(QStringLiteral("pão\r\nleite\r\n\r\ncafé"));
        note->setNoteFont(NoteFont{QStringLiteral("Courier New"), 14, 0, false, true});

        Dialogs::setNextPrintToPdf(QString());  // cancelled: nothing is printed
        note->printNote();
        QVERIFY(!QFile::exists(pdf));

        Dialogs::setNextPrintToPdf(pdf);
        menuItem(note.get(), "mnuImprimir")->trigger();
        QVERIFY(QFile::exists(pdf));

        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        const qsizetype title = text.indexOf(QStringLiteral("Lista de compras"));
        const qsizetype rule = text.indexOf(QString(80, QLatin1Char('-')));
        const qsizetype pao = text.indexOf(QStringLiteral("pão"));
        const qsizetype leite = text.indexOf(QStringLiteral("leite"));
        const qsizetype cafe = text.indexOf(QStringLiteral("café"));
        QVERIFY2(title >= 0 && rule > title && pao > rule && leite > pao && cafe > leite, qPrintable(text));
        QVERIFY(!text.contains(QString(81, QLatin1Char('-'))));

        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        if (info.waitForFinished(30000) && info.exitCode() == 0)
            QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("Corkvane  - Lista de compras")));
    }

    void longTextIsPrintedWhole()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
        auto note = makeNote();
        QStringList lines;
        for (int i = 1; i <= 150; ++i)
            lines << QStringLiteral("linha%1").arg(i);
        // One line far wider than the page: its last word must not run off the paper.
        lines << QStringList(40, QStringLiteral("palavra")).join(QLatin1Char(' ')) + QStringLiteral(" FIM");
        note->setText(lines.join(QStringLiteral("\r\n")));
        Dialogs::setNextPrintToPdf(pdf);
        note->printNote();

        QProcess p;
        p.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY(text.contains(QStringLiteral("linha150")));
        QVERIFY(text.contains(QStringLiteral("FIM")));
        QVERIFY2(text.count(QLatin1Char('\f')) >= 2, "150 lines fill more than one page");
    }

    // --- title dialog -------------------------------------------------------------------------

    void titleFieldStopsAtFiftyCharacters()
    {
        TfrmMudaCaption dialog;
        dialog.prepare(QString(), &settings);
        auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("txtCaptionNota"));
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QVERIFY(ok->isEnabled());  // an empty title may be confirmed as it is
        QTest::keyClicks(field, QString(50, QLatin1Char('a')));
        QCOMPARE(field->text().size(), 50);
        QTest::keyClicks(field, QStringLiteral("b"));
        QCOMPARE(field->text(), QString(50, QLatin1Char('a')));

        field->clear();
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(field, QStringLiteral("x"));
        QVERIFY(ok->isEnabled());
        // The design size, wider where the title needs it, the controls in the middle.
        QCOMPARE(dialog.height(), 84);
        QVERIFY(dialog.width() >= 247);
        QCOMPARE(field->x(), 8 + (dialog.width() - 247) / 2);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Muda Título"));
    }

    void defaultButtonBuildsTheTitleFromSettings()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        MockClock clock(QDateTime(QDate(2026, 3, 9), QTime(8, 5, 1)));
        TfrmMudaCaption dialog;
        auto *field = dialog.findChild<QLineEdit *>(QStringLiteral("txtCaptionNota"));
        auto *padrao = dialog.findChild<QPushButton *>(QStringLiteral("cmdPadrao"));
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));

        settings.recGeral.ShowDate = false;
        settings.recGeral.ShowTime = true;
        dialog.prepare(QStringLiteral("antigo"), &settings);
        QTest::mouseClick(padrao, Qt::LeftButton);
        QCOMPARE(field->text(), QStringLiteral("08:05:01"));

        settings.recGeral.ShowDate = true;
        QTest::mouseClick(padrao, Qt::LeftButton);
        QCOMPARE(field->text(), QStringLiteral("09/03/2026 08:05:01"));

        settings.recGeral.ShowDate = false;
        settings.recGeral.ShowTime = false;
        QTest::mouseClick(padrao, Qt::LeftButton);
        QCOMPARE(field->text(), QString());
        QVERIFY(!ok->isEnabled());
        Locale::overrideLocaleId(-1);
    }

    void noteMenuOpensTheTitleDialog()
    {
        auto note = makeNote();
        note->setTitle(QStringLiteral("velho"));
        TfrmMudaCaption *dialog = TfrmMudaCaption::instance();
        auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("txtCaptionNota"));

        // "&Cancelar" after "&Padrão" leaves the title alone.
        QString seen;
        QTimer::singleShot(0, dialog, [&] {
            seen = field->text();
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdPadrao")), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdCancelar")), Qt::LeftButton);
        });
        menuItem(note.get(), "mnuMudaCaption")->trigger();
        QCOMPARE(seen, QStringLiteral("velho"));
        QCOMPARE(note->title(), QStringLiteral("velho"));

        QTimer::singleShot(0, dialog, [&] {
            field->setText(QStringLiteral("novo título"));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        note->openTitleDialog();
        QCOMPARE(note->title(), QStringLiteral("novo título"));

        // A longer title that came from elsewhere survives an unchanged OK whole.
        const QString received(64, QLatin1Char('r'));
        note->setTitle(received);
        QTimer::singleShot(0, dialog, [&] {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        note->openTitleDialog();
        QCOMPARE(note->title(), received);
    }
};

QTEST_MAIN(TestPostIt)
#include "tst_postit.moc"
