#include <QtTest>

#include "watermarkthumbnail.h"

class TestWatermarkThumbnail : public QObject
{
    Q_OBJECT

private slots:
    void size_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("wide, twice the box width") << QSize(240, 60) << QSize(120, 30);
        QTest::newRow("small keeps its size") << QSize(60, 30) << QSize(60, 30);
        QTest::newRow("exactly the box") << QSize(120, 60) << QSize(120, 60);
        QTest::newRow("tall") << QSize(100, 600) << QSize(10, 60);
        QTest::newRow("truncated, not rounded") << QSize(1000, 333) << QSize(119, 39);
        QTest::newRow("very thin keeps a pixel") << QSize(5000, 1) << QSize(120, 1);
        QTest::newRow("unreadable") << QSize(-1, -1) << QSize();
    }

    void size()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, expected);
        QCOMPARE(watermarkThumbnailSize(image, QSize(120, 60)), expected);
    }
};

QTEST_APPLESS_MAIN(TestWatermarkThumbnail)
#include "tst_watermarkthumbnail.moc"
