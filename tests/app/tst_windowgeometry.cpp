#include <QtTest>

#include "windowgeometry.h"

using Stored = std::optional<quint32>;
Q_DECLARE_METATYPE(Stored)

class TestWindowGeometry : public QObject
{
    Q_OBJECT

private slots:
    void restore_data()
    {
        QTest::addColumn<Stored>("x");
        QTest::addColumn<Stored>("y");
        QTest::addColumn<Stored>("width");
        QTest::addColumn<Stored>("height");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("expected");
        const Stored none;
        const auto v = [](qint64 value) { return Stored(quint32(value)); };
        const auto row = [](const char *name, Stored x, Stored y, Stored w, Stored h, const QRect &expected,
                            const QRect &screen = QRect(0, 0, 1920, 1080)) {
            QTest::newRow(name) << x << y << w << h << screen << expected;
        };
        // Both sides go through one rule: each row takes a different branch on each.
        row("nothing stored", none, none, none, none, QRect(100, 100, 1280, 860));
        row("stored values fit", v(50), v(60), v(1200), v(700), QRect(50, 60, 1200, 700));
        row("narrow width grows, height cut to the screen", v(10), v(10), v(500), v(1500), QRect(10, 0, 986, 1080));
        row("right edge moves left, y below 0", v(1000), v(-300), v(1200), v(600), QRect(720, 100, 1200, 600));
        row("grown width moves left", v(1500), v(0), v(300), v(600), QRect(934, 0, 986, 600));
        row("screen smaller than the first size", none, none, none, none, QRect(0, 0, 800, 600), QRect(0, 0, 800, 600));
        const QRect panels(64, 32, 1856, 1048); // panels at the left and the top
        row("above and left of the area", v(10), v(0), v(1000), v(600), QRect(64, 32, 1000, 600), panels);
        row("past the area's far edges", v(1800), v(900), v(1000), v(600), QRect(920, 480, 1000, 600), panels);
    }

    void restore()
    {
        QFETCH(Stored, x);
        QFETCH(Stored, y);
        QFETCH(Stored, width);
        QFETCH(Stored, height);
        QFETCH(QRect, screen);
        QFETCH(QRect, expected);
        QCOMPARE(restoredWindowGeometry({x, y, width, height}, screen), expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
