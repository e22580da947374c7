// Where notes may stand: which notes can still be grabbed, where the others go, and the cascade
// of "Reunir Notas".
#include "notes/NotePlaces.h"

#include <QtTest>

using OptionalRect = std::optional<QRect>;
Q_DECLARE_METATYPE(OptionalRect)

namespace {

constexpr int kBar = 13;
const QList<QRect> kOneScreen{QRect(0, 0, 800, 600)};
// A laptop with a panel at the bottom, and a taller screen to its right reaching lower.
const QList<QRect> kTwoScreens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
// An L: a wide screen, and a half-height one to its right.
const QList<QRect> kLShape{QRect(0, 0, 1000, 1000), QRect(1000, 0, 1000, 500)};

} // namespace

class TestNotePlaces : public QObject
{
    Q_OBJECT
private slots:
    void rescue_data()
    {
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QRect>("note");
        QTest::addColumn<OptionalRect>("expected");
        const QSize n(180, 147);
        const OptionalRect stays;
        QTest::newRow("on screen") << kOneScreen << QRect(QPoint(100, 120), n) << stays;
        QTest::newRow("far right and down") << kOneScreen << QRect(QPoint(5000, 5000), n) << OptionalRect(QRect(620, 453, 180, 147));
        QTest::newRow("far left and up") << kOneScreen << QRect(QPoint(-3000, -2000), n) << OptionalRect(QRect(QPoint(0, 0), n));
        QTest::newRow("40 px of the bar at the right edge") << kOneScreen << QRect(QPoint(760, 300), n) << stays;
        QTest::newRow("39 px of the bar at the right edge") << kOneScreen << QRect(QPoint(761, 300), n) << OptionalRect(QRect(QPoint(620, 300), n));
        QTest::newRow("40 px of the bar at the left edge") << kOneScreen << QRect(QPoint(-140, 10), n) << stays;
        QTest::newRow("39 px of the bar at the left edge") << kOneScreen << QRect(QPoint(-141, 10), n) << OptionalRect(QRect(QPoint(0, 10), n));
        QTest::newRow("7 rows of the bar above the bottom") << kOneScreen << QRect(QPoint(10, 593), n) << stays;
        QTest::newRow("6 rows of the bar above the bottom") << kOneScreen << QRect(QPoint(10, 594), n) << OptionalRect(QRect(QPoint(10, 453), n));
        QTest::newRow("7 rows of the bar below the top") << kOneScreen << QRect(QPoint(10, -6), n) << stays;
        QTest::newRow("6 rows of the bar below the top") << kOneScreen << QRect(QPoint(10, -7), n) << OptionalRect(QRect(QPoint(10, 0), n));
        QTest::newRow("only the text on screen") << kOneScreen << QRect(QPoint(300, -100), n) << OptionalRect(QRect(QPoint(300, 0), n));
        QTest::newRow("larger than the screen") << kOneScreen << QRect(5000, 0, 1000, 700) << OptionalRect(QRect(0, 0, 800, 600));
        QTest::newRow("wider only") << kOneScreen << QRect(-5000, 100, 900, 100) << OptionalRect(QRect(0, 100, 800, 100));
        QTest::newRow("on the second screen") << kTwoScreens << QRect(QPoint(2500, 900), n) << stays;
        QTest::newRow("second screen gone")
            << QList<QRect>{kTwoScreens.front()} << QRect(QPoint(2500, 900), n) << OptionalRect(QRect(QPoint(1740, 893), n));
        QTest::newRow("under the panel") << kTwoScreens << QRect(QPoint(200, 1035), n) << OptionalRect(QRect(QPoint(200, 893), n));
        // Overlapping the first screen, 7 px above the second: the first is nearer.
        QTest::newRow("below the first, beside the second") << kTwoScreens << QRect(QPoint(1900, 1030), n)
                                                            << OptionalRect(QRect(QPoint(1740, 893), n));
        QTest::newRow("30 px on each of two screens") << kTwoScreens << QRect(QPoint(1890, 10), QSize(60, 100))
                                                      << OptionalRect(QRect(1860, 10, 60, 100));
        QTest::newRow("in the hole of an L") << kLShape << QRect(QPoint(1500, 700), n) << OptionalRect(QRect(QPoint(1500, 353), n));
        QTest::newRow("no screen at all") << QList<QRect>() << QRect(QPoint(5000, 5000), n) << stays;
        QTest::newRow("only empty areas") << QList<QRect>{QRect()} << QRect(QPoint(5000, 5000), n) << stays;
        QTest::newRow("farthest the store allows") << kOneScreen << QRect(QPoint(1 << 24, -(1 << 24)), QSize(8192, 8192))
                                                   << OptionalRect(QRect(0, 0, 800, 600));
    }
    void rescue()
    {
        QFETCH(QList<QRect>, areas);
        QFETCH(QRect, note);
        QFETCH(OptionalRect, expected);
        const OptionalRect moved = NotePlaces::rescue(note, kBar, areas);
        QCOMPARE(moved, expected);
        QCOMPARE(NotePlaces::reachable(note, kBar, areas), !expected.has_value() && !areas.isEmpty() && !areas.front().isEmpty());
        // Where a note is put, it can be grabbed.
        if (moved)
            QVERIFY(NotePlaces::reachable(*moved, kBar, areas));
    }

    void cascade_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QList<QPoint>>("expected");
        const QSize n(170, 120);
        QTest::newRow("three notes") << QRect(0, 0, 800, 600) << QList<QSize>{n, n, QSize(300, 80)}
                                     << QList<QPoint>{{0, 0}, {13, 13}, {26, 26}};
        QTest::newRow("from the area's corner") << QRect(1920, 24, 1280, 1000) << QList<QSize>{n, n}
                                                << QList<QPoint>{{1920, 24}, {1933, 37}};
        // 500 x 200: the seventh 170 x 120 note ends at y 78 + 120 = 198, the eighth would pass
        // 200; the next cascade starts right of the first (its notes end at 78 + 170 = 248)...
        QTest::newRow("bottom reached")
            << QRect(0, 0, 500, 200) << QList<QSize>(9, n)
            << QList<QPoint>{{0, 0}, {13, 13}, {26, 26}, {39, 39}, {52, 52}, {65, 65}, {78, 78}, {248, 0}, {261, 13}};
        // ... and when no room is left to the right, the cascades start again at the left,
        // one step lower.
        QTest::newRow("right reached")
            << QRect(0, 0, 400, 150) << QList<QSize>(8, n)
            << QList<QPoint>{{0, 0}, {13, 13}, {26, 26}, {196, 0}, {209, 13}, {222, 26}, {0, 13}, {13, 26}};
        QTest::newRow("no note") << QRect(0, 0, 800, 600) << QList<QSize>() << QList<QPoint>();
    }
    void cascade()
    {
        QFETCH(QRect, area);
        QFETCH(QList<QSize>, sizes);
        QFETCH(QList<QPoint>, expected);
        QCOMPARE(NotePlaces::cascade(area, sizes, kBar), expected);
    }

    // However many notes, each one that fits the area lands wholly inside it.
    void everyCascadedNoteLiesInside()
    {
        const QRect area(-1280, 30, 1280, 994);
        QList<QSize> sizes;
        for (int i = 0; i < 1001; ++i)
            sizes << QSize(80 + (i * 37) % 600, 40 + (i * 53) % 500);
        const QList<QPoint> points = NotePlaces::cascade(area, sizes, kBar);
        QCOMPARE(points.size(), sizes.size());
        for (qsizetype i = 0; i < points.size(); ++i)
            QVERIFY2(area.contains(QRect(points.at(i), sizes.at(i))), qPrintable(QString::number(i)));
    }
};

QTEST_APPLESS_MAIN(TestNotePlaces)
#include "tst_noteplaces.moc"
