#include <QtTest>

#include "windowgeometry.h"

using Stored = std::optional<quint32>;
Q_DECLARE_METATYPE(Stored)

namespace {

Stored none()
{
    return std::nullopt;
}

Stored value(qint64 v)
{
    return quint32(v);
}

} // namespace

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
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("expected");

        const QSize fullHd(1920, 1080);
        QTest::newRow("nothing stored") << none() << none() << none() << none() << fullHd << QRect(100, 100, 986, 513);
        QTest::newRow("stored values fit") << value(50) << value(60) << value(1200) << value(700) << fullHd
                                           << QRect(50, 60, 1200, 700);
        QTest::newRow("narrow width grows") << value(10) << value(10) << value(500) << value(600) << fullHd
                                            << QRect(10, 10, 986, 600);
        QTest::newRow("low height grows") << value(10) << value(10) << value(1000) << value(200) << fullHd
                                          << QRect(10, 10, 1000, 513);
        QTest::newRow("wider than screen") << value(0) << value(0) << value(2500) << value(600) << fullHd
                                           << QRect(0, 0, 1920, 600);
        QTest::newRow("right edge off screen moves left")
            << value(1000) << value(0) << value(1200) << value(600) << fullHd << QRect(720, 0, 1200, 600);
        QTest::newRow("higher than screen") << value(0) << value(0) << value(1000) << value(1500) << fullHd
                                            << QRect(0, 0, 1000, 1080);
        QTest::newRow("bottom edge off screen moves up")
            << value(0) << value(900) << value(1000) << value(600) << fullHd << QRect(0, 480, 1000, 600);
        QTest::newRow("x beyond screen") << value(2000) << value(0) << value(1000) << value(600) << fullHd
                                         << QRect(100, 0, 1000, 600);
        QTest::newRow("y beyond screen") << value(0) << value(1200) << value(1000) << value(600) << fullHd
                                         << QRect(0, 100, 1000, 600);
        QTest::newRow("negative x (left monitor)")
            << value(-1200) << value(50) << value(1000) << value(600) << fullHd << QRect(100, 50, 1000, 600);
        QTest::newRow("negative y (upper monitor)")
            << value(50) << value(-300) << value(1000) << value(600) << fullHd << QRect(50, 100, 1000, 600);
        QTest::newRow("growing width does not move x")
            << value(1500) << value(0) << value(300) << value(600) << fullHd << QRect(1500, 0, 986, 600);
        QTest::newRow("screen smaller than the minimum")
            << none() << none() << none() << none() << QSize(800, 600) << QRect(100, 87, 800, 513);
        QTest::newRow("only width stored") << none() << none() << value(1900) << none() << fullHd
                                           << QRect(20, 100, 1900, 513);
    }

    void restore()
    {
        QFETCH(Stored, x);
        QFETCH(Stored, y);
        QFETCH(Stored, width);
        QFETCH(Stored, height);
        QFETCH(QSize, screen);
        QFETCH(QRect, expected);
        QCOMPARE(restoredWindowGeometry({x, y, width, height}, screen), expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
