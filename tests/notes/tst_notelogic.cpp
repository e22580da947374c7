// The note window's rules that need no window: hit test, layout, address test, print header,
// default title, title bar shade, line breaks and zoom steps.
#include "notes/HitTest.h"
#include "notes/NoteLayout.h"
#include "notes/NoteText.h"
#include "notes/NoteZoom.h"
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "store/Colour.h"

#include <QtTest>

Q_DECLARE_METATYPE(HitZone)

class TestNoteLogic : public QObject
{
    Q_OBJECT
private slots:
    void hitTest_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<HitZone>("zone");
        const int W = 180, H = 147;
        // The strip right of the text area.
        QTest::newRow("right strip, 20 above bottom") << W - 3 << H - 20 << W << H << HitZone::Right;
        QTest::newRow("right strip, 11 above bottom") << W - 3 << H - 11 << W << H << HitZone::BottomRight;
        QTest::newRow("right strip, 12 above bottom") << W - 3 << H - 12 << W << H << HitZone::Move;
        QTest::newRow("x exactly W-6 is not the edge") << W - 6 << 60 << W << H << HitZone::Move;
        // The strip below the text area.
        QTest::newRow("bottom strip, 20 from left") << 20 << H - 1 << W << H << HitZone::Bottom;
        QTest::newRow("bottom strip, 11 from left") << 11 << H - 1 << W << H << HitZone::BottomLeft;
        QTest::newRow("bottom strip, 12 from left") << 12 << H - 1 << W << H << HitZone::Move;
        QTest::newRow("y exactly H-6 is not the edge") << 60 << H - 6 << W << H << HitZone::Move;
        // The gap under the title bar.
        QTest::newRow("gap, middle") << 90 << 14 << W << H << HitZone::Move;
        QTest::newRow("gap, x < 6") << 5 << 14 << W << H << HitZone::Left;
        QTest::newRow("gap, x == 6") << 6 << 14 << W << H << HitZone::Move;
        QTest::newRow("gap, x > W-6") << W - 5 << 14 << W << H << HitZone::Right;
        // Top edge and corners (under the title bar on a real note, but defined).
        QTest::newRow("top edge is 2 px") << 90 << 1 << W << H << HitZone::Top;
        QTest::newRow("y == 2 is below the top edge") << 90 << 2 << W << H << HitZone::Move;
        QTest::newRow("top-left") << 11 << 11 << W << H << HitZone::TopLeft;
        QTest::newRow("top-right") << W - 11 << 11 << W << H << HitZone::TopRight;
        QTest::newRow("corner needs both") << W - 11 << 12 << W << H << HitZone::Move;
        // An 80 px wide window: the bottom edge spans 13 .. 67 only.
        QTest::newRow("80 wide, x 12") << 12 << 39 << 80 << 40 << HitZone::Move;
        QTest::newRow("80 wide, x 13") << 13 << 39 << 80 << 40 << HitZone::Bottom;
        QTest::newRow("80 wide, x 67") << 67 << 39 << 80 << 40 << HitZone::Bottom;
        QTest::newRow("80 wide, x 68") << 68 << 39 << 80 << 40 << HitZone::Move;
        QTest::newRow("80 wide, x 69") << 69 << 39 << 80 << 40 << HitZone::BottomRight;
        // Where corner zones overlap on a short window, the later rule wins.
        QTest::newRow("top-right beats bottom-right") << 75 << 11 << 80 << 22 << HitZone::TopRight;
        QTest::newRow("bottom-left beats top-left") << 5 << 11 << 80 << 22 << HitZone::BottomLeft;
    }

    void hitTest()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(HitZone, zone);
        QCOMPARE(HitTest(x, y, w, h), zone);
    }

    void zonesMapToResizeEdges()
    {
        QCOMPARE(EdgesOf(HitZone::Move), Qt::Edges{});
        QCOMPARE(EdgesOf(HitZone::BottomRight), Qt::BottomEdge | Qt::RightEdge);
        QCOMPARE(EdgesOf(HitZone::TopLeft), Qt::TopEdge | Qt::LeftEdge);
        QCOMPARE(EdgesOf(HitZone::Left), Qt::Edges(Qt::LeftEdge));
        QCOMPARE(CursorOf(HitZone::BottomLeft), Qt::SizeBDiagCursor);
        QCOMPARE(CursorOf(HitZone::Right), Qt::SizeHorCursor);
    }

    void layoutWithAndWithoutFooter()
    {
        const NoteLayout plain = LayOutNote(QSize(170, 120), false);
        QCOMPARE(plain.caption, QRect(0, 0, 170, 13));
        QCOMPARE(plain.text, QRect(0, 16, 165, 102));
        QCOMPARE(plain.deleteButton, QRect(157, 0, 13, 13));
        QCOMPARE(plain.hideButton, QRect(144, 0, 13, 13));
        QCOMPARE(plain.text.bottom() + 1, 120 - 2);  // 2 px strip below

        const NoteLayout footed = LayOutNote(QSize(170, 120), true);
        QCOMPARE(footed.footer, QRect(0, 106, 168, 12));
        QCOMPARE(footed.footer.bottom() + 1, 120 - 2);           // 2 px above the bottom
        QCOMPARE(footed.text.bottom() + 1, footed.footer.top());  // text ends right above it

        const NoteLayout small = LayOutNote(QSize(80, 40), true);
        QCOMPARE(small.text, QRect(0, 16, 75, 10));
        QCOMPARE(small.footer, QRect(0, 26, 78, 12));

        // The window a text area needs is what the layout gives that text area back.
        for (const QSize text : {QSize(175, 120), QSize(75, 10), QSize(4096, 4096)}) {
            for (const bool footer : {false, true}) {
                const QSize window = windowSizeForText(text, footer);
                QCOMPARE(LayOutNote(window, footer).text.size(), text);
            }
        }
        QCOMPARE(windowSizeForText(QSize(175, 120), true), QSize(180, 150));
    }

    void addressDetection_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("address");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks") << QStringLiteral("   ") << false;
        QTest::newRow("plain words") << QStringLiteral("buy milk") << false;
        QTest::newRow("http") << QStringLiteral("see http://example.net") << true;
        QTest::newRow("ftp") << QStringLiteral("ftp://host/file") << true;
        QTest::newRow("www") << QStringLiteral("  www.example  ") << true;
        QTest::newRow(".edu inside a word") << QStringLiteral("mit.educational") << true;
        QTest::newRow(".gov") << QStringLiteral("irs.gov") << true;
        QTest::newRow(".org") << QStringLiteral("x.org") << true;
        QTest::newRow("capital HTTP only") << QStringLiteral("HTTP://EXAMPLE.NET") << false;
        QTest::newRow("capital .COM") << QStringLiteral("SHOP.COM") << false;
        QTest::newRow("other domain") << QStringLiteral("example.net") << false;
    }

    void addressDetection()
    {
        QFETCH(QString, selection);
        QFETCH(bool, address);
        QCOMPARE(NoteText::LooksLikeAddress(selection), address);
    }

    void onlyWebAndMailAddressesAreOpened_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("opened");
        QTest::newRow("bare host") << QStringLiteral(" www.example.com ") << QStringLiteral("http://www.example.com");
        QTest::newRow("https") << QStringLiteral("https://x.org/a?b=1") << QStringLiteral("https://x.org/a?b=1");
        QTest::newRow("ftp") << QStringLiteral("ftp://host.edu/file") << QStringLiteral("ftp://host.edu/file");
        QTest::newRow("mailto") << QStringLiteral("mailto:ana@x.com") << QStringLiteral("mailto:ana@x.com");
        QTest::newRow("local path") << QStringLiteral("/tmp/run.com") << QString();
        QTest::newRow("file url") << QStringLiteral("file:///home/u/a.desktop") << QString();
        QTest::newRow("windows path") << QStringLiteral("C:\\prog\\x.com") << QString();
        QTest::newRow("other scheme") << QStringLiteral("javascript:alert(1)//.com") << QString();
    }

    void onlyWebAndMailAddressesAreOpened()
    {
        QFETCH(QString, selection);
        QFETCH(QString, opened);
        QCOMPARE(NoteText::AddressToOpen(selection).toString(), opened);
    }

    void printJobNameAndHeader()
    {
        QCOMPARE(NoteText::PrintJobName(QStringLiteral("Compras")), QStringLiteral("Corkvane  - Compras"));
        const QStringList header = NoteText::PrintHeaderLines(QStringLiteral("Compras"));
        QCOMPARE(header.size(), 3);
        QCOMPARE(header[0], QStringLiteral("Compras"));
        QCOMPARE(header[1], QString(80, QLatin1Char('-')));
        QCOMPARE(header[2], QStringLiteral(" "));
    }

    void defaultTitleFollowsDateAndTimeSettings()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(14, 30, 5)));
        GeneralSettings g;
        g.ShowDate = true;
        g.ShowTime = true;
        QCOMPARE(NoteText::DefaultTitle(g, Clock::now()), QStringLiteral("07/12/2026 14:30:05"));
        g.ShowTime = false;
        QCOMPARE(NoteText::DefaultTitle(g, Clock::now()), QStringLiteral("07/12/2026 "));
        g.ShowDate = false;
        g.ShowTime = true;
        QCOMPARE(NoteText::DefaultTitle(g, Clock::now()), QStringLiteral("14:30:05"));
        g.ShowTime = false;
        QCOMPARE(NoteText::DefaultTitle(g, Clock::now()), QString());
        Locale::overrideLocaleId(-1);
    }

    void captionShadeStopsAtZero()
    {
        // red 0x10, green 0xFF, blue 0x7B with step 12: each lowered by 36, red stops at 0.
        QCOMPARE(CaptionShade(0x7BFF10, 12), 0x57DB00);
        QCOMPARE(CaptionShade(0x000000, 25), 0x000000);
        QCOMPARE(CaptionShade(0xFFFFFF, 1), 0xFCFCFC);
    }

    void lineBreaksConvertOnce()
    {
        QCOMPARE(NoteText::toLf(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
        QCOMPARE(NoteText::toCrLf(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
        // Text that already holds CR LF is not doubled.
        QCOMPARE(NoteText::toCrLf(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
    }

    void zoomKeys()
    {
        using NoteZoom::Step;
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const struct { int key; Qt::KeyboardModifiers modifiers; Step step; } cases[] = {
            {Qt::Key_Plus, ctrl, Step::In},
            {Qt::Key_Plus, ctrl | Qt::ShiftModifier, Step::In},     // '+' is shifted on many keyboards
            {Qt::Key_Plus, ctrl | Qt::KeypadModifier, Step::In},
            {Qt::Key_Equal, ctrl, Step::In},
            {Qt::Key_Minus, ctrl, Step::Out},
            {Qt::Key_Minus, ctrl | Qt::KeypadModifier, Step::Out},
            {Qt::Key_0, ctrl, Step::Reset},
            {Qt::Key_0, ctrl | Qt::KeypadModifier, Step::Reset},
            {Qt::Key_0, ctrl | Qt::ShiftModifier, Step::None},
            {Qt::Key_Plus, Qt::NoModifier, Step::None},             // typing a '+'
            {Qt::Key_Minus, Qt::ShiftModifier, Step::None},
            {Qt::Key_Plus, ctrl | Qt::AltModifier, Step::None},
            {Qt::Key_Minus, ctrl | Qt::MetaModifier, Step::None},
            {Qt::Key_1, ctrl, Step::None},
            {Qt::Key_A, ctrl, Step::None},
        };
        for (const auto &c : cases)
            QVERIFY2(NoteZoom::stepForKey(c.key, c.modifiers) == c.step,
                     qPrintable(QStringLiteral("key %1 modifiers %2").arg(c.key, 0, 16).arg(int(c.modifiers), 0, 16)));
    }

    void zoomWheelNotches()
    {
        // Each row: the deltas turned one after another, and the notches each gives.
        const struct { QList<int> deltas; QList<int> notches; } cases[] = {
            {{120}, {1}},
            {{-120}, {-1}},
            {{240, -360}, {2, -3}},
            {{60, 60, 60, 60}, {0, 1, 0, 1}},          // a fine wheel gathers to whole notches
            {{15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1}},
            {{100, -30, -100}, {0, 0, -1}},            // turning back drops what was gathered
            {{-100, 30, 100}, {0, 0, 1}},
            {{0, 0}, {0, 0}},
            {{130, 110}, {1, 1}},
        };
        for (const auto &c : cases) {
            int pending = 0;
            QList<int> got;
            for (int delta : c.deltas)
                got << NoteZoom::notches(pending, delta);
            QCOMPARE(got, c.notches);
            QVERIFY(qAbs(pending) < 120);
        }
    }

    void zoomedSizesStayInBounds()
    {
        const struct { int size; int steps; int expected; } cases[] = {
            {10, 1, 11}, {10, -1, 9}, {10, 0, 10}, {10, 5, 15},
            {NoteZoom::kMaxSize, 1, NoteZoom::kMaxSize}, {NoteZoom::kMinSize, -1, NoteZoom::kMinSize},
            {70, 10, NoteZoom::kMaxSize}, {8, -10, NoteZoom::kMinSize},
            // Sizes already out of bounds are not pushed the wrong way.
            {100, 1, 100}, {100, -1, 99}, {2, -1, 2}, {2, 1, 3}, {0, 1, 1},
            {2147483647, 1, 2147483647}, {-2147483647 - 1, -1, -2147483647 - 1},
        };
        for (const auto &c : cases)
            QVERIFY2(NoteZoom::zoomed(c.size, c.steps) == c.expected,
                     qPrintable(QStringLiteral("%1 %2 -> %3").arg(c.size).arg(c.steps).arg(NoteZoom::zoomed(c.size, c.steps))));
    }
};

QTEST_GUILESS_MAIN(TestNoteLogic)
#include "tst_notelogic.moc"
