#include "notes/ConfNota.h"
#include "NoteFixture.h"
#include "support/WaveFiles.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <QPointer>
#include <functional>

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(10, 0, 0));  // a Monday

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    T *w = dialog->findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

// Clicks where a user would: a check box on its box, a button in its middle.
void click(QWidget *dialog, const char *name)
{
    auto *button = child<QAbstractButton>(dialog, name);
    const QPoint at = qobject_cast<QCheckBox *>(button) ? QPoint(6, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

QPointer<QTimer> g_pending;

// Runs `act` on the settings dialog once it is up, then closes whatever is left open, so that a
// failing step never leaves the test waiting on a modal window.
void whenDialogOpens(std::function<void(TfrmConfNota *)> act)
{
    auto *poll = new QTimer;
    g_pending = poll;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *dialog = qobject_cast<TfrmConfNota *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        g_pending = nullptr;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start(10);
}

QAction *menuItem(TfPostIt *note, const char *name)
{
    return note->popPrincipal()->findChild<QAction *>(QLatin1String(name));
}

} // namespace

class TestConfNota : public QObject
{
    Q_OBJECT
private:
    NoteFixture *m_f = nullptr;
    TfPostIt *m_note = nullptr;
    MockClock *m_clock = nullptr;
    QTemporaryDir m_dir;

    // Opens the dialog the way the controller does, from the note's own signal.
    void connectNote(TfPostIt *note)
    {
        connect(note, &TfPostIt::configureRequested, note,
                [this, note](int, bool alarmsPage) { OpenNoteSettings(note, alarmsPage, &m_f->settings); });
    }

private slots:
    void initTestCase() { Dialogs::setTestMode(true); }

    void init()
    {
        Dialogs::resetAnswers();
        Dialogs::clearShownMessages();
        m_clock = new MockClock(kNow);
        m_f = new NoteFixture;
        m_note = m_f->add(QStringLiteral("note"));
        m_note->setColor(0x80FFFF);
        m_note->setNoteFont(NoteFont{QStringLiteral("Arial"), 10, 0x000080, false, false});
        connectNote(m_note);
    }

    void cleanup()
    {
        const bool opened = !g_pending;
        delete g_pending;
        QVERIFY2(opened, "the settings dialog did not open");
        delete m_f;
        delete m_clock;
        QVERIFY(!QApplication::activeModalWidget());
    }

    void appearanceChangesReachTheNoteOnOk()
    {
        const QColor blue(0x20, 0x40, 0xF0);
        QFont courier(QStringLiteral("Courier New"));
        courier.setPointSize(14);
        courier.setBold(true);

        ColourValue previewCaption = 0;
        whenDialogOpens([&](TfrmConfNota *d) {
            auto *pages = child<QTabWidget>(d, "pagGeral");
            // Hiding the general pages leaves "C&onfigurar..." on "Alarmes", with help context 2.
            QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("tabAlarme"));
            QCOMPARE(d->helpContext(), 2);
            for (const char *page : {"tabSons", "tabGeral", "tbsRede"})
                QVERIFY(!pages->isTabVisible(pages->indexOf(child<QWidget>(d, page))));
            pages->setCurrentWidget(child<QWidget>(d, "tabFonteCor"));
            QCOMPARE(d->helpContext(), 2);
            pages->setCurrentWidget(child<QWidget>(d, "tabAlarme"));
            QCOMPARE(d->helpContext(), 3);
            pages->setCurrentWidget(child<QWidget>(d, "tabFonteCor"));

            Dialogs::setNextColor(blue);
            click(d, "cmdCordeFundo");
            QCOMPARE(d->previewColour(), fromQColor(blue));
            Dialogs::setNextFont(courier);
            Dialogs::setNextColor(QColor(0x10, 0x20, 0x30));  // "Cor da Fonte", asked right after
            click(d, "cmdFonte");
            QCOMPARE(d->previewFont().name, QStringLiteral("Courier New"));
            QCOMPARE(d->previewFont().colour, 0x302010);
            Dialogs::setNextFont(courier);
            click(d, "cmdFonte");  // the colour question cancelled: the colour stays
            QCOMPARE(d->previewFont().colour, 0x302010);
            click(d, "chkScroll");

            auto *slider = child<QSlider>(d, "TrackBar1");
            QVERIFY(!slider->isEnabled());
            click(d, "chkCorCaption");
            QVERIFY(slider->isEnabled());
            // An unshaded note leaves the slider at its lowest step.
            QCOMPARE(d->previewCaptionColour(), CaptionShade(fromQColor(blue), 1));
            slider->setFocus();
            QTest::keyClick(slider, Qt::Key_End);  // 25
            previewCaption = d->previewCaptionColour();
            QCOMPARE(previewCaption, CaptionShade(fromQColor(blue), 25));

            // Nothing reaches the note before OK.
            QCOMPARE(m_note->color(), 0x80FFFF);
            click(d, "cmdOK");
        });
        menuItem(m_note, "mnuConfigurar")->trigger();

        QCOMPARE(m_note->color(), fromQColor(blue));
        const NoteFont font = m_note->noteFont();
        QCOMPARE(font.name, QStringLiteral("Courier New"));
        QCOMPARE(font.size, 14);
        QVERIFY(font.bold && !font.italic);
        QCOMPARE(font.colour, 0x302010);
        QCOMPARE(m_note->titleFontColour(), 0x302010);
        QVERIFY(m_note->scrollBar());
        QVERIFY(m_note->darkCaption());
        QCOMPARE(m_note->trackPosition(), 25);
        QCOMPARE(m_note->captionColour(), previewCaption);
        QVERIFY(!m_note->alarm());
    }

    void cancelLeavesTheNoteAsItWas()
    {
        m_note->setDarkCaption(true);
        m_note->setTrackPosition(5);
        const NoteData before = m_note->data();
        whenDialogOpens([&](TfrmConfNota *d) {
            Dialogs::setNextColor(Qt::red);
            click(d, "cmdCordeFundo");
            Dialogs::setNextFont(QFont(QStringLiteral("Courier New"), 20));
            click(d, "cmdFonte");
            click(d, "chkScroll");
            click(d, "chkCorCaption");  // off
            QCOMPARE(d->previewCaptionColour(), d->previewColour());
            click(d, "chkHabAlarme");
            click(d, "cmdCancelar");
        });
        menuItem(m_note, "mnuConfigurar")->trigger();
        QCOMPARE(m_note->data(), before);
    }

    void previewAndEnablingFollowTheBoxes()
    {
        m_note->setDarkCaption(true);
        m_note->setTrackPosition(7);
        whenDialogOpens([&](TfrmConfNota *d) {
            // A dark caption starts shaded with the note's step; a cancelled colour keeps it.
            QCOMPARE(d->previewCaptionColour(), CaptionShade(0x80FFFF, 7));
            click(d, "cmdCordeFundo");
            QCOMPARE(d->previewColour(), 0x80FFFF);
            QCOMPARE(d->previewCaptionColour(), CaptionShade(0x80FFFF, 7));
            QVERIFY(!child<QWidget>(d, "chkDataCaption")->isEnabled());
            QVERIFY(!child<QWidget>(d, "chkHoraCaption")->isEnabled());
            QVERIFY(child<QWidget>(d, "scbExemplo")->isHidden());
            click(d, "chkScroll");
            QVERIFY(!child<QWidget>(d, "scbExemplo")->isHidden());

            // A switched-off alarm: only its box, the file chooser and the test button are usable.
            const char *alarmParts[] = {"dtmDataAlarme", "dtmHoraAlarme", "chkTocaSom", "chkRemarca",
                                        "updCada",       "txtCada",       "cboUnidade", "chkDiasDaSemana",
                                        "fleSom"};
            for (const char *name : alarmParts)
                QVERIFY2(!child<QWidget>(d, name)->isEnabled(), name);
            for (const char *name : {"cmdProcurar", "cmdTestar"})
                QVERIFY2(child<QWidget>(d, name)->isEnabled(), name);
            click(d, "chkHabAlarme");
            for (const char *name : {"dtmDataAlarme", "dtmHoraAlarme", "chkTocaSom", "chkRemarca", "fleSom"})
                QVERIFY2(child<QWidget>(d, name)->isEnabled(), name);
            for (const char *name : {"updCada", "cboUnidade", "chkDiasDaSemana"})
                QVERIFY2(!child<QWidget>(d, name)->isEnabled(), name);
            click(d, "chkRemarca");
            click(d, "chkTocaSom");
            for (const char *name : {"updCada", "txtCada", "cboUnidade", "chkDiasDaSemana", "fleSom"})
                QVERIFY2(child<QWidget>(d, name)->isEnabled(), name);
            click(d, "chkRemarca");
            click(d, "chkHabAlarme");
            for (const char *name : alarmParts)
                QVERIFY2(!child<QWidget>(d, name)->isEnabled(), name);
        });
        menuItem(m_note, "mnuAlarme")->trigger();
    }

    void alarmInThePastOrNowIsRefused()
    {
        m_note->bringToFront();
        QVERIFY(QTest::qWaitForWindowActive(m_note));
        const NoteData before = m_note->data();
        int refusals = 0;
        whenDialogOpens([&](TfrmConfNota *d) {
            QCOMPARE(child<QTabWidget>(d, "pagGeral")->currentWidget()->objectName(), QStringLiteral("tabAlarme"));
            QCOMPARE(d->helpContext(), 3);
            // A note without an alarm offers now + 5 minutes, every weekday, Sunday first.
            QCOMPARE(d->chosenAlarmMoment(), kNow.addSecs(300));
            auto *days = child<QListWidget>(d, "chkDiasDaSemana");
            QCOMPARE(days->item(0)->text(), QStringLiteral("Domingo"));
            QCOMPARE(days->item(6)->text(), QString::fromUtf8("Sábado"));
            for (int i = 0; i < 7; ++i)
                QCOMPARE(days->item(i)->checkState(), Qt::Checked);
            QCOMPARE(child<QComboBox>(d, "cboUnidade")->currentText(), QStringLiteral("minuto(s)"));

            click(d, "chkHabAlarme");
            child<QTimeEdit>(d, "dtmHoraAlarme")->setTime(QTime(9, 59, 59));
            click(d, "cmdOK");
            QVERIFY(d->isVisible());
            child<QTimeEdit>(d, "dtmHoraAlarme")->setTime(QTime(10, 0, 0));  // exactly now
            click(d, "cmdOK");
            QVERIFY(d->isVisible());
            refusals = int(Dialogs::shownMessages().size());
            click(d, "cmdCancelar");
        });
        QWidget *text = m_note->findChild<QWidget *>(QStringLiteral("memPostit"));
        QVERIFY(text);
        text->setFocus();
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);  // "Alarme..."
        QCOMPARE(refusals, 2);
        for (const auto &message : Dialogs::shownMessages()) {
            QCOMPARE(message.title, QStringLiteral("Erro"));
            QCOMPARE(message.text, QString::fromUtf8("A data e hora selecionada para o alarme é mais antiga que a atual!"));
        }
        QCOMPARE(m_note->data(), before);
        QVERIFY(!m_note->armedIconShown());
    }

    void armingSetsEveryAlarmField()
    {
        QVERIFY(WaveFiles::write(m_dir.filePath("bell.wav"), WaveFiles::silence(10)));
        whenDialogOpens([&](TfrmConfNota *d) {
            click(d, "chkHabAlarme");
            child<QDateEdit>(d, "dtmDataAlarme")->setDate(QDate(2026, 12, 8));
            child<QTimeEdit>(d, "dtmHoraAlarme")->setTime(QTime(7, 15, 30));
            click(d, "chkRemarca");
            child<QSpinBox>(d, "updCada")->setValue(3);
            child<QComboBox>(d, "cboUnidade")->setCurrentIndex(3);
            auto *days = child<QListWidget>(d, "chkDiasDaSemana");
            days->item(0)->setCheckState(Qt::Unchecked);  // Sunday
            days->item(6)->setCheckState(Qt::Unchecked);  // Saturday
            click(d, "chkTocaSom");
            Dialogs::setNextFileName(m_dir.filePath("bell.wav"));
            click(d, "cmdProcurar");
            QCOMPARE(child<QLineEdit>(d, "fleSom")->text(), m_dir.filePath("bell.wav"));
            click(d, "cmdOK");
        });
        menuItem(m_note, "mnuAlarme")->trigger();

        QVERIFY(m_note->alarm());
        QVERIFY(m_note->armedIconShown());
        QCOMPARE(m_note->alarmDateTime(), QDateTime(QDate(2026, 12, 8), QTime(7, 15, 30)));
        QVERIFY(m_note->remember());
        QCOMPARE(m_note->rememberNo(), 3);
        QCOMPARE(m_note->rememberUnit(), 3);
        QCOMPARE(m_note->dia(), (std::array<bool, 7>{false, true, true, true, true, true, false}));
        QVERIFY(m_note->useSound());
        QCOMPARE(m_note->soundFile(), m_dir.filePath("bell.wav"));
    }

    void disarmingKeepsTheOtherFields()
    {
        const std::array<bool, 7> days{false, true, false, true, false, true, false};
        NoteFixture::arm(m_note, kNow.addDays(2), true, 45, 9, days);  // unit 9: hand-edited
        m_note->setUseSound(true);
        m_note->setSoundFile(QStringLiteral("/sounds/ring.wav"));
        whenDialogOpens([&](TfrmConfNota *d) {
            // The page shows the armed alarm as it is.
            QCOMPARE(d->chosenAlarmMoment(), kNow.addDays(2));
            QCOMPARE(child<QSpinBox>(d, "updCada")->value(), 45);
            QCOMPARE(child<QComboBox>(d, "cboUnidade")->currentText(), QStringLiteral("dia(s)"));
            QCOMPARE(child<QLineEdit>(d, "fleSom")->text(), QStringLiteral("/sounds/ring.wav"));
            QCOMPARE(child<QListWidget>(d, "chkDiasDaSemana")->item(0)->checkState(), Qt::Unchecked);
            QCOMPARE(child<QListWidget>(d, "chkDiasDaSemana")->item(1)->checkState(), Qt::Checked);
            click(d, "chkHabAlarme");
            click(d, "cmdOK");
        });
        // A double-click on the armed icon opens the "Alarmes" page as well.
        QTest::mouseDClick(m_note->findChild<QWidget *>(QStringLiteral("imgAlarme")), Qt::LeftButton);

        QVERIFY(!m_note->alarm());
        QVERIFY(!m_note->armedIconShown());
        QCOMPARE(m_note->alarmDateTime(), kNow.addDays(2));
        QVERIFY(m_note->remember());
        QCOMPARE(m_note->rememberNo(), 45);
        QCOMPARE(m_note->rememberUnit(), 9);
        QCOMPARE(m_note->dia(), days);
        QVERIFY(m_note->useSound());
        QCOMPARE(m_note->soundFile(), QStringLiteral("/sounds/ring.wav"));
    }

    void okWithoutAlarmChangesNoAlarmField()
    {
        m_note->setRememberNo(0);
        m_note->setDia({});
        const NoteData before = m_note->data();
        whenDialogOpens([&](TfrmConfNota *d) { click(d, "cmdOK"); });
        menuItem(m_note, "mnuConfigurar")->trigger();
        QCOMPARE(m_note->data(), before);
    }

    void soundTestReportsFilesThatCannotBePlayed()
    {
        QVERIFY(WaveFiles::write(m_dir.filePath("good.wav"), WaveFiles::silence(50)));
        QVERIFY(WaveFiles::write(m_dir.filePath("text.wav"), "not a sound"));
        QStringList messages;
        bool cursorRestored = false;
        whenDialogOpens([&](TfrmConfNota *d) {
            click(d, "chkHabAlarme");
            click(d, "chkTocaSom");
            auto *file = child<QLineEdit>(d, "fleSom");
            file->setText(m_dir.filePath("good.wav"));
            click(d, "cmdTestar");
            file->setText(m_dir.filePath("text.wav"));
            click(d, "cmdTestar");
            for (const auto &m : Dialogs::shownMessages())
                messages << m.text;
            cursorRestored = !QApplication::overrideCursor();
            QVERIFY(child<QWidget>(d, "cmdTestar")->isEnabled());
            // A cancelled file dialog keeps the path.
            Dialogs::setNextFileName(QString());
            click(d, "cmdProcurar");
            QCOMPARE(file->text(), m_dir.filePath("text.wav"));
        });
        menuItem(m_note, "mnuAlarme")->trigger();
        QCOMPARE(messages, QStringList{QString::fromUtf8("Este não é um arquivo de som válido!")});
        QVERIFY(cursorRestored);
    }

    void f1AsksForThePageHelp()
    {
        AppSettings settings;
        TfrmConfNota dialog(&settings);
        dialog.prepareNote(m_note);
        dialog.showAlarmsPage();
        QSignalSpy help(&dialog, &TfrmConfNota::helpRequested);
        child<QTabWidget>(&dialog, "pagGeral")->setCurrentWidget(child<QWidget>(&dialog, "tabFonteCor"));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toInt(), 2);
        QCOMPARE(dialog.NoteIndex(), m_note->Tag());
    }
};

QTEST_MAIN(TestConfNota)
#include "tst_confnota.moc"
