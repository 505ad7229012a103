#include <QtTest>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "imagemagickutil.h"
#include "kxgif.h"
#include "kxtest.h"

namespace {

QImage solid(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

bool onlyBlackOrWhite(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xff000000u;
            if (p != qRgb(0, 0, 0) && p != qRgb(255, 255, 255))
                return false;
        }
    return true;
}

bool allPixels(const QImage &image, const QRect &area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}

} // namespace

class TestProcessImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(kxtest::makePhotoLikeImage(1000, 600).save(dir.filePath("wide.bmp")));
        QVERIFY(solid(50, 50, qRgb(1, 2, 3)).save(dir.filePath("small.bmp")));
    }

    void scaledSizes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("scale");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("fast");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QString>("reason");
        // The sizes themselves are worked out in tst_pipelinerules; here they must reach the pixels.
        QTest::newRow("33 %") << "wide.bmp" << true << 0 << 33 << 0 << false << QSize(330, 198) << "";
        QTest::newRow("33 %, preview") << "wide.bmp" << true << 0 << 33 << 0 << true << QSize(330, 198) << "";
        QTest::newRow("0 % is null") << "wide.bmp" << true << 0 << 0 << 0 << false << QSize()
                                     << "The scaled size 0 x 0 is empty.";
        QTest::newRow("1 % of 50 is null") << "small.bmp" << true << 0 << 1 << 0 << false << QSize()
                                           << "The scaled size 0 x 0 is empty.";
        QTest::newRow("0 wide is null") << "wide.bmp" << true << 1 << 0 << 200 << false << QSize()
                                        << "The scaled size 0 x 200 is empty.";
        QTest::newRow("scaling off") << "wide.bmp" << false << 1 << 10 << 10 << false << QSize(1000, 600) << "";
        // Refused before anything is allocated, for previews and conversions.
        QTest::newRow("30000 x 30000 is refused") << "small.bmp" << true << 1 << 30000 << 30000 << true << QSize()
                                                  << "The scaled size 30000 x 30000 is too large: at most 65535 "
                                                     "pixels a side and 256 MB.";
        QTest::newRow("unreadable") << "missing.bmp" << false << 0 << 0 << 0 << false << QSize()
                                    << "The image could not be read.";
    }

    void scaledSizes()
    {
        QFETCH(QString, file);
        QFETCH(bool, scale);
        QFETCH(int, type);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(bool, fast);
        QFETCH(QSize, expected);
        QFETCH(QString, reason);
        ConversionSettings s;
        s.scaleImage = scale;
        s.scaleType = type;
        s.scalePercentage = a;
        s.scaleAbsoluteWitdh = a;
        s.scaleAbsoluteHeight = b;
        QString error;
        const QImage image = ImageMagickUtil().processImage(dir.filePath(file), fast, s, &error);
        if (expected.isValid())
            QCOMPARE(image.size(), expected);
        else
            QVERIFY(image.isNull());
        QCOMPARE(error, reason);
    }

    void grayscaleAloneSkipsAdjustments()
    {
        // Deep colour shows the difference: through the adjustments the channels
        // would be cut to 8 bits before the gray value is taken.
        QImage deep(256, 64, QImage::Format_RGBX64);
        for (int y = 0; y < deep.height(); ++y) {
            auto *line = reinterpret_cast<QRgba64 *>(deep.scanLine(y));
            for (int x = 0; x < deep.width(); ++x)
                line[x] = qRgba64(quint16(x * 257 + y * 3), quint16(65535 - x * 200), quint16(y * 1000 + x), 65535);
        }
        const QString path = dir.filePath("deep.png");
        QVERIFY(deep.save(path));
        QImage decoded;
        QVERIFY(ImageMagickUtil().loadImage(path, decoded));
        const QImage viaAdjustments = decoded.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(decoded.convertToFormat(QImage::Format_Grayscale8) != viaAdjustments);

        ConversionSettings s;
        s.adjustGrayScale = 1;
        const QImage gray = ImageMagickUtil().processImage(path, false, s);
        QCOMPARE(gray.format(), QImage::Format_Grayscale8);
        QCOMPARE(gray, decoded.convertToFormat(QImage::Format_Grayscale8));
    }

    // Sixteen-bit sources come out as their 8-bit copies do, colour and alpha,
    // through every step.
    void deepSourcesMatchTheir8BitCopies_data()
    {
        QTest::addColumn<int>("deep");
        QTest::addColumn<int>("shallow");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("step");
        const struct {
            QImage::Format deep, shallow;
            const char *suffix;
        } formats[] = {{QImage::Format_RGBA64, QImage::Format_ARGB32, "png"},
                       {QImage::Format_RGBA64_Premultiplied, QImage::Format_ARGB32, "tiff"},
                       {QImage::Format_RGBX64, QImage::Format_RGB32, "png"},
                       {QImage::Format_Grayscale16, QImage::Format_Grayscale8, "png"}};
        for (const auto &f : formats)
            for (const char *step : {"none", "watermark", "scaled", "enlarged preview", "brightness", "grayscale", "blur"})
                QTest::addRow("%d %s", int(f.deep), step) << int(f.deep) << int(f.shallow) << f.suffix << step;
    }

    void deepSourcesMatchTheir8BitCopies()
    {
        QFETCH(int, deep);
        QFETCH(int, shallow);
        QFETCH(QString, suffix);
        QFETCH(QString, step);
        const QImage photo = kxtest::makePhotoLikeImage(48, 32, true);
        const QString deepPath = dir.filePath(QString("deep%1.%2").arg(deep).arg(suffix));
        const QString shallowPath = dir.filePath(QString("shallow%1.png").arg(shallow));
        QVERIFY(photo.convertToFormat(QImage::Format(deep)).save(deepPath));
        QVERIFY(photo.convertToFormat(QImage::Format(shallow)).save(shallowPath));
        QImage decoded;
        QVERIFY(ImageMagickUtil().loadImage(deepPath, decoded));
        QCOMPARE(int(decoded.format()), deep);

        ConversionSettings s;
        s.qrCodeText = step == "watermark" ? "1" : "";
        s.qrCodeSize = 23;
        s.scaleImage = step.endsWith("scaled") || step.startsWith("enlarged");
        s.scalePercentage = step == "scaled" ? 50 : 150;
        s.adjustBrightness = step == "brightness" ? 10 : 0;
        s.adjustGrayScale = step == "grayscale" ? 1 : 0;
        s.setBlurRadius = step == "blur" ? 2 : 0;
        const bool fast = step.endsWith("preview");
        const QImage image = ImageMagickUtil().processImage(deepPath, fast, s);
        const QImage reference = ImageMagickUtil().processImage(shallowPath, fast, s);
        QVERIFY(!reference.isNull());
        QVERIFY2(kxtest::maxChannelDifference(image, reference) <= 2,
                 qPrintable(QString::number(kxtest::maxChannelDifference(image, reference))));
    }

    void sepiaAloneGivesOpaqueRgb32()
    {
        const QString path = dir.filePath("translucent-sepia.png");
        QImage translucent(16, 16, QImage::Format_ARGB32);
        translucent.fill(qRgba(100, 150, 200, 90));
        QVERIFY(translucent.save(path));
        ConversionSettings s;
        s.adjustSepia = 1;
        const QImage image = ImageMagickUtil().processImage(path, false, s);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QVERIFY(allPixels(image, image.rect(), image.pixel(0, 0)));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 255);
    }

    void cacheDecodesOnceUntilFileChanges()
    {
        const QString path = dir.filePath("swap.bmp");
        const QDateTime modified = QDateTime::currentDateTime().addSecs(-60);
        // Writes a picture and gives the file a chosen modification time.
        const auto store = [&](const QImage &image, const QDateTime &time) {
            QFile file(path);
            return image.save(path) && file.open(QIODevice::ReadWrite)
                   && file.setFileTime(time, QFileDevice::FileModificationTime);
        };
        const ConversionSettings s;
        QVERIFY(store(solid(8, 8, qRgb(255, 0, 0)), modified));
        QCOMPARE(ImageMagickUtil().processImage(path, false, s).pixel(0, 0), qRgb(255, 0, 0));

        // Same size and time: the cached pixels serve, nothing is read.
        QVERIFY(store(solid(8, 8, qRgb(0, 0, 255)), modified));
        QCOMPARE(ImageMagickUtil().processImage(path, false, s).pixel(0, 0), qRgb(255, 0, 0));

        // A changed time or size: decoded again.
        QVERIFY(store(solid(8, 8, qRgb(0, 0, 255)), modified.addSecs(5)));
        QCOMPARE(ImageMagickUtil().processImage(path, false, s).pixel(0, 0), qRgb(0, 0, 255));
        QVERIFY(store(solid(9, 8, qRgb(0, 255, 0)), modified.addSecs(5)));
        QCOMPARE(ImageMagickUtil().processImage(path, false, s).pixel(0, 0), qRgb(0, 255, 0));
    }

    void letterCaseNamesTwoFiles()
    {
        const QString upper = dir.filePath("Case.bmp");
        const QString lower = dir.filePath("case.bmp");
        QVERIFY(solid(4, 4, qRgb(10, 20, 30)).save(upper));
        QVERIFY(solid(4, 4, qRgb(40, 50, 60)).save(lower));
        const ConversionSettings s;
        QCOMPARE(ImageMagickUtil().processImage(upper, false, s).pixel(0, 0), qRgb(10, 20, 30));
        QCOMPARE(ImageMagickUtil().processImage(lower, false, s).pixel(0, 0), qRgb(40, 50, 60));
    }

    void undecodableFileGivesNullUntilFixed()
    {
        const QString path = kxtest::writeFile(dir.filePath("broken.png"), "not a picture at all");
        const ConversionSettings s;
        QVERIFY(ImageMagickUtil().processImage(path, false, s).isNull());
        QVERIFY(ImageMagickUtil().processImage(path, false, s).isNull());
        QVERIFY(solid(6, 6, qRgb(1, 2, 3)).save(path));
        QCOMPARE(ImageMagickUtil().processImage(path, false, s).size(), QSize(6, 6));

        QVERIFY(ImageMagickUtil().processImage(dir.filePath("missing.png"), false, s).isNull());
    }

    void gifSourceIsScaledAndWatermarked()
    {
        QImage indexed(40, 30, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(0, 128, 0), qRgb(200, 200, 0)});
        indexed.fill(0);
        for (int y = 0; y < 30; ++y)
            for (int x = 20; x < 40; ++x)
                indexed.setPixel(x, y, 1);
        const QString path = dir.filePath("bands.gif");
        QVERIFY(!kxtest::writeFile(path, kxtest::gifOfFrames({indexed})).isEmpty());

        ConversionSettings s;
        s.qrCodeText = "1";
        s.qrCodeSize = 23;
        s.qrCodePosition = 0;
        s.scaleImage = true;
        s.scalePercentage = 200;
        const QImage image = ImageMagickUtil().processImage(path, true, s);
        QCOMPARE(image.size(), QSize(80, 60));
        QVERIFY(onlyBlackOrWhite(image, QRect(0, 0, 46, 46)));
        // One-pixel modules in the source, two pixels after scaling: quiet border,
        // then the finder pattern's dark ring and its light ring.
        QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(2, 2), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(4, 4), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(30, 55), qRgb(0, 128, 0));
        QCOMPARE(image.pixel(70, 55), qRgb(200, 200, 0));
    }

    void paletteAndOneBitSourcesGetEveryStep()
    {
        QImage palette(10, 10, QImage::Format_Indexed8);
        palette.setColorTable({qRgb(10, 100, 250)});
        palette.fill(0);
        QImage mono(10, 10, QImage::Format_Mono);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        mono.fill(0);
        const QString palettePath = dir.filePath("palette.png");
        const QString monoPath = dir.filePath("mono.png");
        QVERIFY(palette.save(palettePath));
        QVERIFY(mono.save(monoPath));
        QImage decoded;
        QVERIFY(ImageMagickUtil().loadImage(palettePath, decoded));
        QCOMPARE(decoded.format(), QImage::Format_Indexed8);
        QVERIFY(ImageMagickUtil().loadImage(monoPath, decoded));
        QCOMPARE(decoded.format(), QImage::Format_Mono);

        // With nothing to do, a palette stays a palette.
        ConversionSettings s;
        QImage image = ImageMagickUtil().processImage(palettePath, false, s);
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QCOMPARE(image, palette);

        s.adjustInvertColours = 255;
        image = ImageMagickUtil().processImage(palettePath, false, s);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QCOMPARE(image.pixel(5, 5), qRgb(245, 155, 5));

        s.adjustGrayScale = 1;
        image = ImageMagickUtil().processImage(monoPath, false, s);
        QCOMPARE(image.format(), QImage::Format_Grayscale8);
        QCOMPARE(qGray(image.pixel(5, 5)), 255);
    }

    // Workers racing over two files always get the pixels of the file they asked for.
    void concurrentCallersSeeMatchingPairs()
    {
        const QString a = dir.filePath("a.bmp");
        const QString b = dir.filePath("b.bmp");
        QVERIFY(solid(30, 20, qRgb(255, 0, 0)).save(a));
        QVERIFY(solid(20, 30, qRgb(0, 0, 255)).save(b));
        QAtomicInt wrong = 0;
        QList<QThread *> threads;
        for (int t = 0; t < 4; ++t) {
            threads << QThread::create([&, t] {
                const ConversionSettings s;
                for (int i = 0; i < 40; ++i) {
                    const bool first = (i + t) % 2 == 0;
                    const QImage image = ImageMagickUtil().processImage(first ? a : b, false, s);
                    const QSize size = first ? QSize(30, 20) : QSize(20, 30);
                    const QRgb colour = first ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
                    if (image.size() != size || image.pixel(0, 0) != colour)
                        wrong.ref();
                }
            });
            threads.last()->start();
        }
        for (QThread *thread : threads) {
            QVERIFY(thread->wait(20000));
            delete thread;
        }
        QCOMPARE(wrong.loadRelaxed(), 0);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestProcessImage)
#include "tst_processimage.moc"
