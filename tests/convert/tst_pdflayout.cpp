#include <QtTest>

#include "pdflayout.h"

class TestPdfLayout : public QObject
{
    Q_OBJECT

private slots:
    void margin_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<int>("margin");
        QTest::newRow("off") << false << 20 << QSize(2480, 3508) << 0;
        QTest::newRow("just leaves a pixel") << true << 41 << QSize(821, 1000) << 410;
        QTest::newRow("fills the width") << true << 41 << QSize(820, 1000) << 0;
        QTest::newRow("beyond the height") << true << 50 << QSize(1100, 700) << 0;
    }

    void margin()
    {
        QFETCH(bool, on);
        QFETCH(int, size);
        QFETCH(QSize, page);
        QFETCH(int, margin);
        QCOMPARE(pdfMarginPixels(on, size, page), margin);
    }

    void fit_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<bool>("resize");
        QTest::addColumn<QSize>("expected");
        // A4 portrait at 300 dpi less a margin of 200 on every side.
        const QSizeF a4(2080, 3108);
        QTest::newRow("photo shrinks by width") << QSize(4000, 3000) << a4 << false << QSize(2080, 1560);
        QTest::newRow("small image enlarged") << QSize(1000, 500) << a4 << true << QSize(2080, 1040);
        QTest::newRow("small image kept") << QSize(1000, 500) << a4 << false << QSize(1000, 500);
        QTest::newRow("tall image shrinks by height") << QSize(1000, 6216) << a4 << false << QSize(500, 3108);
        QTest::newRow("portrait enlarged by height") << QSize(100, 200) << a4 << true << QSize(1554, 3108);
        QTest::newRow("null image") << QSize(0, 0) << a4 << true << QSize();
    }

    void fit()
    {
        QFETCH(QSize, image);
        QFETCH(QSizeF, area);
        QFETCH(bool, resize);
        QFETCH(QSize, expected);
        const QSize size = pdfFitSize(image, area.width(), area.height(), resize);
        if (expected.isEmpty()) {
            QVERIFY(size.isEmpty());
            return;
        }
        // The float steps may land one pixel short of the exact quotient.
        QVERIFY2(qAbs(size.width() - expected.width()) <= 1 && qAbs(size.height() - expected.height()) <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        QVERIFY(size.width() <= area.width() && size.height() <= area.height());
    }
};

QTEST_GUILESS_MAIN(TestPdfLayout)
#include "tst_pdflayout.moc"
