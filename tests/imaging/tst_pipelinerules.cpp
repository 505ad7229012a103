#include <QtTest>

#include <QPainter>
#include <QRandomGenerator>

#include "pipelinerules.h"

class TestPipelineRules : public QObject
{
    Q_OBJECT

private slots:
    void scaledSizeFollowsType_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("type"); // negative: that type with scaling off
        QTest::addColumn<int>("relativeTo");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<bool>("doNotEnlarge");
        const QSize s(1000, 600);
        QTest::newRow("33 %") << s << 0 << 0 << 33 << 0 << QSize(330, 198) << false;
        QTest::newRow("absolute stretches") << s << 1 << 0 << 200 << 200 << QSize(200, 200) << false;
        QTest::newRow("width 333 truncates") << s << 2 << 0 << 333 << 0 << QSize(333, 199) << false;
        QTest::newRow("height 7 truncates") << QSize(1000, 3) << 2 << 1 << 0 << 7 << QSize(2333, 7) << false;
        QTest::newRow("any other relativeTo is height") << s << 2 << 5 << 0 << 300 << QSize(500, 300) << false;
        QTest::newRow("too large to hold") << QSize(1, 100000) << 2 << 0 << 100000 << 0 << QSize(100000, 0) << false;
        QTest::newRow("long edge landscape") << s << 3 << 0 << 500 << 0 << QSize(500, 300) << false;
        QTest::newRow("long edge portrait") << QSize(600, 1000) << 3 << 0 << 500 << 0 << QSize(300, 500) << false;
        QTest::newRow("long edge small, kept") << s << 3 << 0 << 2000 << 0 << s << true;
        QTest::newRow("unknown type: none") << s << 4 << 0 << 100 << 0 << QSize() << false;
        QTest::newRow("absolute, off: none") << s << -1 << 0 << 100 << 0 << QSize() << false;
        QTest::newRow("absolute, no side grows") << s << 1 << 0 << 2000 << 300 << QSize(1000, 300) << true;
    }

    void scaledSizeFollowsType()
    {
        QFETCH(QSize, source);
        QFETCH(int, type);
        QFETCH(int, relativeTo);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QSize, expected);
        QFETCH(bool, doNotEnlarge);
        ConversionSettings settings;
        settings.scaleImage = type >= 0;
        settings.scaleDoNotEnlarge = doNotEnlarge;
        settings.scaleType = qAbs(type);
        settings.scaleRelativeTo = relativeTo;
        settings.scaleLongEdge = settings.scalePercentage = settings.scaleAbsoluteWitdh = settings.scaleRelativeWidth = a;
        settings.scaleAbsoluteHeight = settings.scaleRelativeHeight = b;
        QCOMPARE(scaledSize(source, settings).value_or(QSize()), expected);
    }

    // Both a width and a height asked, on a landscape and a portrait source:
    // the size resampled to, then the canvas cropped or padded to.
    void fitModes_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("fit");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<bool>("doNotEnlarge");
        QTest::addColumn<QSize>("resize");
        QTest::addColumn<QSize>("canvas");
        const QSize wide(1000, 600), tall(600, 1000), box(500, 500), big(2000, 1500);
        QTest::newRow("wide stretch") << wide << int(FitStretch) << box << false << box << box;
        QTest::newRow("wide inside") << wide << int(FitInside) << box << false << QSize(500, 300) << QSize(500, 300);
        QTest::newRow("wide cover") << wide << int(FitCover) << box << false << QSize(833, 500) << box;
        QTest::newRow("wide cover-smart") << wide << int(FitCoverSmart) << box << false << QSize(833, 500) << box;
        QTest::newRow("wide pad") << wide << int(FitPad) << box << false << QSize(500, 300) << box;
        QTest::newRow("tall inside") << tall << int(FitInside) << box << false << QSize(300, 500) << QSize(300, 500);
        QTest::newRow("tall cover") << tall << int(FitCover) << box << false << QSize(500, 833) << box;
        QTest::newRow("tall pad") << tall << int(FitPad) << box << false << QSize(300, 500) << box;
        QTest::newRow("cover rounds up to the box") << QSize(999, 601) << int(FitCover) << QSize(333, 200) << false
                                                    << QSize(333, 200) << QSize(333, 200);
        QTest::newRow("wide inside, kept") << wide << int(FitInside) << big << true << wide << wide;
        QTest::newRow("wide cover, kept") << wide << int(FitCover) << big << true << wide << wide;
        QTest::newRow("wide pad, kept") << wide << int(FitPad) << big << true << wide << big;
        QTest::newRow("tall cover, one side kept") << tall << int(FitCover) << QSize(300, 1200) << true << tall
                                                   << QSize(300, 1000);
        QTest::newRow("empty box") << wide << int(FitPad) << QSize(0, 500) << false << QSize() << QSize();
    }

    void fitModes()
    {
        QFETCH(QSize, source);
        QFETCH(int, fit);
        QFETCH(QSize, box);
        QFETCH(bool, doNotEnlarge);
        QFETCH(QSize, resize);
        QFETCH(QSize, canvas);
        ConversionSettings settings;
        settings.scaleImage = true;
        settings.scaleType = ScaleByAbsoluteSize;
        settings.scaleFit = fit;
        settings.scaleDoNotEnlarge = doNotEnlarge;
        settings.scaleAbsoluteWitdh = box.width();
        settings.scaleAbsoluteHeight = box.height();
        const ScaleGeometry geometry = scaleGeometry(source, settings).value();
        QCOMPARE(geometry.resize, resize);
        QCOMPARE(geometry.canvas, canvas);
        QCOMPARE(geometry.notEnlarged, doNotEnlarge);
        QCOMPARE(scaledSize(source, settings).value(), canvas);
    }

    // Lanczos is handed at least twice its size by the decoder; a source too
    // large to decode whole is reduced to the size asked whatever the filter.
    void reducedDecodes_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("resampling");
        QTest::addColumn<bool>("watermark");
        QTest::addColumn<QSize>("expected");
        const QSize photo(4000, 3000), huge(12000, 9000);
        QTest::newRow("lanczos 25 %") << photo << 25 << int(ResampleLanczos) << false << QSize(2000, 1500);
        QTest::newRow("sharp 10 %") << photo << 10 << int(ResampleSharp) << false << QSize(800, 600);
        QTest::newRow("lanczos 60 %: whole") << photo << 60 << int(ResampleLanczos) << false << QSize();
        QTest::newRow("smooth 25 %: whole") << photo << 25 << int(ResampleSmooth) << false << QSize();
        QTest::newRow("watermarked: whole") << photo << 25 << int(ResampleSharp) << true << QSize();
        QTest::newRow("huge, smooth") << huge << 25 << int(ResampleSmooth) << false << QSize(3000, 2250);
    }

    void reducedDecodes()
    {
        QFETCH(QSize, source);
        QFETCH(int, percent);
        QFETCH(int, resampling);
        QFETCH(bool, watermark);
        QFETCH(QSize, expected);
        ConversionSettings settings;
        settings.scaleImage = true;
        settings.scalePercentage = percent;
        settings.resampling = resampling;
        settings.textContent = watermark ? "(c)" : "";
        QCOMPARE(reducedDecodeSize(source, settings).value_or(QSize()), expected);
    }

    void pictureSizeVerdict_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("verdict");
        const int fits = int(PictureSize::Fits), empty = int(PictureSize::Empty), large = int(PictureSize::TooLarge);
        QTest::newRow("negative") << QSize(-5, 300) << 32 << empty;
        QTest::newRow("65535 wide") << QSize(65535, 1) << 64 << fits;
        QTest::newRow("65536 wide") << QSize(65536, 1) << 8 << large;
        QTest::newRow("huge beside 0") << QSize(100000, 0) << 32 << large;
        // 256 MB exactly: 8192 x 8192 at four bytes a pixel.
        QTest::newRow("8192 x 8192") << QSize(8192, 8192) << 32 << fits;
        QTest::newRow("8193 x 8192") << QSize(8193, 8192) << 32 << large;
        QTest::newRow("8192 x 8192, 16 bits a channel") << QSize(8192, 8192) << 64 << large;
    }

    void pictureSizeVerdict()
    {
        QFETCH(QSize, size);
        QFETCH(int, bits);
        QFETCH(int, verdict);
        QCOMPARE(int(::pictureSizeVerdict(size, bits)), verdict);
    }

    void placementOfABox_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("expected");
        const QSize box(200, 100);
        // Margin 10 on 1000 x 800: left/centre/right at 10, 400, 790; top/middle/bottom at 10, 350, 690.
        const int x[] = {10, 400, 790};
        const int y[] = {10, 350, 690};
        for (int p = 0; p < 9; ++p)
            QTest::addRow("%d", p) << p << box << QRect(x[p % 3], y[p / 3], 200, 100);
        QTest::newRow("odd half truncates") << 4 << QSize(201, 101) << QRect(399, 349, 201, 101);
        QTest::newRow("wider than canvas") << 1 << QSize(1101, 100) << QRect(-50, 10, 1101, 100);
        QTest::newRow("outside 0..8") << 9 << box << QRect();
        QTest::newRow("negative") << -1 << box << QRect();
    }

    void placementOfABox()
    {
        QFETCH(int, position);
        QFETCH(QSize, box);
        QFETCH(QRect, expected);
        QCOMPARE(watermarkRect(position, box, QSize(1000, 800), 10), expected);
    }

    // The pipeline leaves out the transparent layer for these formats; drawing it
    // must not change a byte of any of them.
    void transparentLayerKeepsListedFormats()
    {
        QImage random(97, 31, QImage::Format_ARGB32);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(random.bits()), random.sizeInBytes() / 4);
        QImage canvas(random.size(), QImage::Format_ARGB32);
        canvas.fill(0);
        for (int f = QImage::Format_Mono; f < QImage::NImageFormats; ++f) {
            const auto format = QImage::Format(f);
            if (!compositionKeepsUnderTransparency(format))
                continue;
            const QImage before = random.convertToFormat(format);
            QImage after = before.copy();
            QPainter painter(&after);
            painter.drawImage(after.rect(), canvas);
            painter.end();
            for (int y = 0; y < before.height(); ++y)
                QVERIFY2(!memcmp(before.constScanLine(y), after.constScanLine(y), before.bytesPerLine()), qPrintable(QString::number(f)));
        }
    }
};

QTEST_MAIN(TestPipelineRules)
#include "tst_pipelinerules.moc"
