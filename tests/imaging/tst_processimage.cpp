#include <QtTest>

#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "formattable.h"
#include "imagemagickutil.h"
#include "pipelinerules.h"
#include "kxtest.h"

namespace {

QImage solid(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

ConversionSettings scaling(bool on, int type, int a, int b = 0)
{
    ConversionSettings s;
    s.scaleImage = on;
    s.scaleType = type;
    s.scalePercentage = s.scaleAbsoluteWitdh = a;
    s.scaleAbsoluteHeight = b;
    return s;
}

// Sixteen-bit formats, their 8-bit copies, and the file type that keeps the deep format.
const struct { QImage::Format deep, shallow; const char *suffix; } deepFormats[] = {
    {QImage::Format_RGBA64, QImage::Format_ARGB32, "png"}, {QImage::Format_RGBA64_Premultiplied, QImage::Format_ARGB32, "tiff"},
    {QImage::Format_RGBX64, QImage::Format_RGB32, "png"}, {QImage::Format_Grayscale16, QImage::Format_Grayscale8, "png"}};

} // namespace

class TestProcessImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(kxtest::makePhotoLikeImage(1000, 600).save(dir.filePath("wide.bmp")));
        QVERIFY(solid(50, 50, qRgb(1, 2, 3)).save(dir.filePath("small.bmp")));
        // A drawing of 100 x 50 whose left half is red, the rest transparent.
        kxtest::writeFile(dir.filePath("half.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'>"
                                                    "<rect width='50' height='50' fill='#ff0000'/></svg>");
        // Two pages of 4 x 2 inches: the first blue on its left half, the second all red.
        QPdfWriter writer(dir.filePath("pages.pdf"));
        writer.setPageSize(QPageSize(QSizeF(288, 144), QPageSize::Point));
        writer.setPageMargins(QMarginsF());
        writer.setResolution(72);
        QPainter painter(&writer);
        painter.fillRect(0, 0, 144, 144, Qt::blue);
        writer.newPage();
        painter.fillRect(0, 0, 288, 144, Qt::red);
        QVERIFY(painter.end());
    }

    // Drawings and PDF pages are rendered at the size asked for: a drawing
    // scaled twenty times keeps a sharp edge and its transparency; a page
    // takes its size from the resolution, on white paper, the first page only.
    void renderedSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<QSize>("header");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QPoint>("edge"); // the last pixel of the coloured half
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QRgb>("beyond"); // the pixel right of the edge
        ConversionSettings at72;
        at72.pdfSourceDpi = 72;
        const QRgb red = qRgb(255, 0, 0);
        QTest::newRow("svg own size") << "half.svg" << ConversionSettings() << QSize(100, 50) << QSize(100, 50)
                                      << QPoint(49, 25) << red << qRgba(0, 0, 0, 0);
        QTest::newRow("svg at 2000") << "half.svg" << scaling(true, 1, 2000, 1000) << QSize(100, 50) << QSize(2000, 1000)
                                     << QPoint(999, 500) << red << qRgba(0, 0, 0, 0);
        QTest::newRow("pdf at 150 dpi") << "pages.pdf" << ConversionSettings() << QSize(600, 300) << QSize(600, 300)
                                        << QPoint(299, 150) << qRgb(0, 0, 255) << qRgb(255, 255, 255);
        QTest::newRow("pdf at 72 dpi") << "pages.pdf" << at72 << QSize(288, 144) << QSize(288, 144) << QPoint(143, 72)
                                       << qRgb(0, 0, 255) << qRgb(255, 255, 255);
    }

    void renderedSources()
    {
        QFETCH(QString, file);
        QFETCH(ConversionSettings, settings);
        QFETCH(QSize, header);
        QFETCH(QSize, expected);
        QFETCH(QPoint, edge);
        QFETCH(QRgb, colour);
        QFETCH(QRgb, beyond);
        const QString path = dir.filePath(file);
        QCOMPARE(uprightImageSize(path, settings.pdfSourceDpi), header);
        QString error;
        const QImage image = ImageMagickUtil().processImage(path, false, settings, &error, false);
        QCOMPARE(error, QString());
        QCOMPARE(image.size(), expected);
        QCOMPARE(image.pixel(edge), colour);
        QCOMPARE(image.pixel(edge + QPoint(1, 0)), beyond);
    }

    // A source over the decode cap (lowered here so that it is small) that is
    // scaled down is decoded reduced, in every format that can read so; the
    // red gradient runs across the stored width, whatever the orientation.
    void hugeSources_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("turn"); // QImageIOHandler::Transformations
        QTest::addColumn<bool>("scaled");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QPoint>("dark"); // where the gradient starts
        QTest::addColumn<QPoint>("bright"); // where it ends
        QTest::addColumn<QString>("reason");
        const int none = QImageIOHandler::TransformationNone;
        const QString tooLarge = "The image could not be read: at 4000 x 1000 pixels it needs more than 8 MB.";
        for (const QString suffix : {"jpg", "png", "tif"}) {
            const QByteArray name = suffix.toLatin1();
            QTest::newRow(name + " to 2000") << suffix << none << true << QSize(2000, 500) << QPoint(0, 250)
                                             << QPoint(1999, 250) << "";
            QTest::newRow(name + " unscaled") << suffix << none << false << QSize() << QPoint() << QPoint()
                                              << (suffix == "tif" ? "The image could not be read: the picture size 4000 x 1000 "
                                                                    "is too large: at most 65535 pixels a side and 8 MB."
                                                                  : tooLarge);
        }
        QTest::newRow("tif turned") << "tif" << int(QImageIOHandler::TransformationRotate90)
                                    << true << QSize(500, 2000) << QPoint(250, 0) << QPoint(250, 1999) << "";
    }

    void hugeSources()
    {
        QFETCH(QString, suffix);
        QFETCH(int, turn);
        QFETCH(bool, scaled);
        QFETCH(QSize, expected);
        QFETCH(QPoint, dark);
        QFETCH(QPoint, bright);
        QFETCH(QString, reason);
        QImage gradient(4000, 1000, QImage::Format_RGB32);
        for (int y = 0; y < gradient.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(gradient.scanLine(y));
            for (int x = 0; x < gradient.width(); ++x)
                line[x] = qRgb(x * 255 / 3999, 128, 64);
        }
        const QString path = dir.filePath(QString("huge%1.%2").arg(turn).arg(suffix));
        QImageWriter writer(path);
        writer.setTransformation(QImageIOHandler::Transformations(turn));
        QVERIFY(writer.write(gradient));
        setAllocationLimitMegabytes(8);
        const auto restore = qScopeGuard([] { setAllocationLimitMegabytes(256); });
        ConversionSettings settings;
        settings.scaleImage = scaled;
        settings.scaleType = ScaleByLongEdge;
        settings.scaleLongEdge = 2000;
        QString error;
        const QImage image = ImageMagickUtil().processImage(path, false, settings, &error, false);
        QCOMPARE(error, reason);
        QCOMPARE(image.size(), expected.isValid() ? expected : QSize(0, 0));
        if (image.isNull())
            return;
        QVERIFY2(qRed(image.pixel(dark)) < 8, qPrintable(QString::number(qRed(image.pixel(dark)))));
        QVERIFY2(qRed(image.pixel(bright)) > 247, qPrintable(QString::number(qRed(image.pixel(bright)))));
        QVERIFY(qAbs(qGreen(image.pixel(bright)) - 128) < 8);
    }

    // The sizes themselves are worked out in tst_pipelinerules; here they must reach the pixels.
    void scaledSizes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<bool>("fast");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QString>("reason");
        QTest::newRow("33 %") << "wide.bmp" << scaling(true, 0, 33) << false << QSize(330, 198) << "";
        QTest::newRow("1 % of 50 is null") << "small.bmp" << scaling(true, 0, 1) << false << QSize() << "The scaled size 0 x 0 is empty.";
        QTest::newRow("scaling off") << "wide.bmp" << scaling(false, 1, 10, 10) << false << QSize(1000, 600) << "";
        // Refused before anything is allocated, for previews and conversions.
        QTest::newRow("30000 x 30000 is refused") << "small.bmp" << scaling(true, 1, 30000, 30000) << true << QSize()
                                                  << "The scaled size 30000 x 30000 is too large: at most 65535 pixels a side and 256 MB.";
        QTest::newRow("unreadable") << "missing.bmp" << ConversionSettings() << false << QSize() << "The image could not be read.";
    }

    void scaledSizes()
    {
        QFETCH(QString, file);
        QFETCH(ConversionSettings, settings);
        QFETCH(bool, fast);
        QFETCH(QSize, expected);
        QFETCH(QString, reason);
        QString error;
        const QImage image = ImageMagickUtil().processImage(dir.filePath(file), fast, settings, &error);
        QCOMPARE(image.size(), expected.isValid() ? expected : QSize(0, 0));
        QCOMPARE(error, reason);
    }

    // Through the adjustments the channels would be cut to 8 bits before the gray value is taken.
    void grayscaleAloneSkipsAdjustments()
    {
        QImage deep(256, 64, QImage::Format_RGBX64);
        for (int y = 0; y < deep.height(); ++y)
            for (int x = 0; x < deep.width(); ++x)
                deep.setPixelColor(x, y, QColor::fromRgba64(x * 257 + y * 3, 65535 - x * 200, y * 1000 + x));
        const QString path = dir.filePath("deep.png");
        QVERIFY(deep.save(path));
        ConversionSettings s;
        s.adjustGrayScale = 1;
        const QImage gray = ImageMagickUtil().processImage(path, false, s);
        QCOMPARE(gray.format(), QImage::Format_Grayscale8);
        QCOMPARE(gray, QImage(path).convertToFormat(QImage::Format_Grayscale8));
    }

    // Sixteen-bit sources come out as their 8-bit copies do, colour and alpha, through every step.
    void deepSourcesMatchTheir8BitCopies_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("step");
        for (int f = 0; f < int(std::size(deepFormats)); ++f)
            for (const char *step : {"none", "watermark", "scaled", "enlarged preview", "brightness", "grayscale", "blur",
                                     "lanczos scaled", "sharp scaled"})
                QTest::addRow("%d %s", int(deepFormats[f].deep), step) << f << step;
    }

    void deepSourcesMatchTheir8BitCopies()
    {
        QFETCH(int, format);
        QFETCH(QString, step);
        const auto [deep, shallow, suffix] = deepFormats[format];
        const QImage photo = kxtest::makePhotoLikeImage(48, 32, true);
        const QString deepPath = dir.filePath(QString("deep%1.%2").arg(int(deep)).arg(suffix));
        const QString shallowPath = dir.filePath(QString("shallow%1.png").arg(int(shallow)));
        QVERIFY(photo.convertToFormat(deep).save(deepPath));
        QVERIFY(photo.convertToFormat(shallow).save(shallowPath));
        QCOMPARE(QImage(deepPath).format(), deep);

        ConversionSettings s = scaling(step.endsWith("scaled") || step.startsWith("enlarged"), 0, step == "scaled" ? 50 : 150);
        s.qrCodeText = step == "watermark" ? "1" : "";
        s.qrCodeSize = 23;
        s.adjustBrightness = step == "brightness" ? 10 : 0;
        s.adjustGrayScale = step == "grayscale" ? 1 : 0;
        s.setBlurRadius = step == "blur" ? 2 : 0;
        s.resampling = step.startsWith("lanczos") ? ResampleLanczos : step.startsWith("sharp") ? ResampleSharp : ResampleSmooth;
        const bool fast = step.endsWith("preview");
        const QImage image = ImageMagickUtil().processImage(deepPath, fast, s);
        const QImage reference = ImageMagickUtil().processImage(shallowPath, fast, s);
        const int difference = kxtest::maxChannelDifference(image, reference);
        QVERIFY2(difference <= 2, qPrintable(QString::number(difference)));
        if (s.resampling != ResampleSmooth)
            QCOMPARE(image.format(), QImage(deepPath).format());
    }

    // Palette, one-bit and translucent sources: the format each step leaves and a worked pixel.
    void formatAfterSteps_data()
    {
        QTest::addColumn<QImage>("source");
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("fast");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("pixel");
        const QImage palette = solid(40, 30, qRgb(10, 100, 250)).convertToFormat(QImage::Format_Indexed8);
        const QImage mono = solid(10, 10, qRgb(0, 0, 0)).convertToFormat(QImage::Format_Mono);
        ConversionSettings invert, grayInvert, sepia, qrEnlarged = scaling(true, 0, 200);
        invert.adjustInvertColours = grayInvert.adjustInvertColours = 255;
        grayInvert.adjustGrayScale = 1;
        sepia.adjustSepia = 1;
        qrEnlarged.qrCodeText = "1";
        qrEnlarged.qrCodeSize = 23;
        qrEnlarged.qrCodePosition = 0;
        const QPoint at(5, 5);
        const bool conversion = false, preview = true;
        QTest::newRow("palette, nothing to do") << palette << ConversionSettings() << int(QImage::Format_Indexed8) << conversion << at << qRgb(10, 100, 250);
        QTest::newRow("palette, inverted") << palette << invert << int(QImage::Format_RGB32) << conversion << at << qRgb(245, 155, 5);
        QTest::newRow("one bit, inverted gray") << mono << grayInvert << int(QImage::Format_Grayscale8) << conversion << at << qRgb(255, 255, 255);
        QTest::newRow("translucent, sepia alone") << solid(16, 16, qRgba(100, 150, 200, 90), QImage::Format_ARGB32) << sepia
                                                  << int(QImage::Format_RGB32) << conversion << at << qRgb(192, 203, 187);
        // One-pixel modules drawn before scaling come out two pixels wide: the finder's dark ring at 2.
        QTest::newRow("palette, code then enlarged") << palette << qrEnlarged << int(QImage::Format_RGB32) << preview << QPoint(2, 2) << qRgb(0, 0, 0);
    }

    void formatAfterSteps()
    {
        QFETCH(QImage, source);
        QFETCH(ConversionSettings, settings);
        QFETCH(int, format);
        QFETCH(bool, fast);
        QFETCH(QPoint, at);
        QFETCH(QRgb, pixel);
        const QString path = dir.filePath(QTest::currentDataTag() + QString(".png"));
        QVERIFY(source.save(path));
        const QImage image = ImageMagickUtil().processImage(path, fast, settings);
        QCOMPARE(int(image.format()), format);
        QCOMPARE(image.pixel(at), pixel);
    }

    // A half-transparent, a transparent and an opaque pixel: laid on the
    // background where the target holds no transparency, kept elsewhere.
    void transparencyByTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<QRgb>>("expected");
        const QList<QRgb> kept{qRgba(200, 0, 0, 128), qRgba(0, 0, 0, 0), qRgb(0, 255, 0)};
        QTest::newRow("JPG") << "JPG" << QList<QRgb>{qRgb(126, 51, 102), qRgb(0x33, 0x66, 0xcc), qRgb(0, 255, 0)};
        for (const char *target : {"PNG", "WEBP", "PDF"})
            QTest::newRow(target) << target << kept;
    }

    void transparencyByTarget()
    {
        QFETCH(QString, target);
        QFETCH(QList<QRgb>, expected);
        QImage source(3, 1, QImage::Format_ARGB32);
        source.setPixel(0, 0, qRgba(200, 0, 0, 128));
        source.setPixel(1, 0, qRgba(0, 0, 0, 0));
        source.setPixel(2, 0, qRgb(0, 255, 0));
        ConversionSettings s;
        s.backgroundColour = QColor("#3366cc");
        for (int k = 0; k < targetFormats().size(); ++k)
            s.targeFileType = targetFormats().at(k).label == target ? k : s.targeFileType;
        const QImage image = ImageMagickUtil().processDecoded(source, false, s);
        QCOMPARE(image.hasAlphaChannel(), target != "JPG");
        for (int x = 0; x < 3; ++x) {
            const QColor got = image.pixelColor(x, 0), want = QColor::fromRgba(expected.at(x));
            QVERIFY2(qAbs(got.red() - want.red()) <= 1 && qAbs(got.green() - want.green()) <= 1
                         && qAbs(got.blue() - want.blue()) <= 1 && got.alpha() == want.alpha(),
                     qPrintable(got.name(QColor::HexArgb)));
        }
    }

    // A grey landscape with a red patch near its right edge, asked for as a square.
    void fitModesReachThePixels_data()
    {
        QTest::addColumn<int>("fit");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("red");
        QTest::addColumn<QRgb>("corner");
        const QRgb grey = qRgb(128, 128, 128), background = qRgb(0x33, 0x66, 0xcc);
        QTest::newRow("inside") << int(FitInside) << QSize(80, 40) << true << grey;
        QTest::newRow("cover, centred: the patch cut off") << int(FitCover) << QSize(80, 80) << false << grey;
        QTest::newRow("cover, on the patch") << int(FitCoverSmart) << QSize(80, 80) << true << grey;
        QTest::newRow("pad") << int(FitPad) << QSize(80, 80) << true << background;
    }

    void fitModesReachThePixels()
    {
        QFETCH(int, fit);
        QFETCH(QSize, size);
        QFETCH(bool, red);
        QFETCH(QRgb, corner);
        QImage source = solid(200, 100, qRgb(128, 128, 128));
        QPainter(&source).fillRect(160, 30, 30, 40, Qt::red);
        ConversionSettings s = scaling(true, ScaleByAbsoluteSize, 80, 80);
        s.scaleFit = fit;
        s.backgroundColour = QColor("#3366cc");
        const QImage image = ImageMagickUtil().processDecoded(source, false, s);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixel(0, 0), corner);
        bool found = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found = found || image.pixel(x, y) == qRgb(255, 0, 0);
        QCOMPARE(found, red);
    }

    // Lanczos through the pipeline gives what libvips' own commands give;
    // the sharpened reduction its sharpen's edges, lightness taken from the
    // samples rather than through Lab.
    void lanczosMatchesLibvips_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("resampling");
        QTest::addColumn<int>("largest");
        QTest::addColumn<double>("mean");
        const QImage photo = kxtest::makePhotoLikeImage(300, 200);
        const QImage blocks = kxtest::makeBlocksImage(
            300, 200, {QColor(40, 40, 40), QColor(200, 200, 200), QColor(180, 60, 50), QColor(60, 120, 200)});
        QTest::newRow("85 %") << photo << 85 << int(ResampleLanczos) << 1 << 1.0;
        QTest::newRow("200 %") << photo << 200 << int(ResampleLanczos) << 1 << 1.0;
        QTest::newRow("sharpened 50 %") << blocks << 50 << int(ResampleSharp) << 8 << 0.15;
    }

    void lanczosMatchesLibvips()
    {
        QFETCH(QImage, picture);
        QFETCH(int, percent);
        QFETCH(int, resampling);
        QFETCH(int, largest);
        QFETCH(double, mean);
        const QString vips = QStandardPaths::findExecutable("vips");
        if (vips.isEmpty())
            QSKIP("libvips' command is not installed");
        const QString source = dir.filePath("photo.png");
        const QString resized = dir.filePath(QString("vips%1.png").arg(percent));
        const QString reference = resampling == ResampleSharp ? dir.filePath("sharpened.png") : resized;
        QVERIFY(picture.save(source));
        QCOMPARE(QProcess::execute(vips, {"resize", source, resized, QString::number(percent / 100.0), "--kernel",
                                          "lanczos3"}),
                 0);
        if (resampling == ResampleSharp)
            QCOMPARE(QProcess::execute(vips, {"sharpen", resized, reference, "--sigma", "0.5", "--x1", "2", "--y2",
                                              "10", "--y3", "20", "--m1", "0", "--m2", "3"}),
                     0);
        ConversionSettings s = scaling(true, ScaleByPercentage, percent);
        s.resampling = resampling;
        const QImage image = ImageMagickUtil().processImage(source, false, s, nullptr, false);
        QCOMPARE(image.size(), QImage(reference).size());
        const auto [most, average] = kxtest::channelDifferences(image, QImage(reference));
        QVERIFY2(most <= largest && average <= mean, qPrintable(QString("%1 %2").arg(most).arg(average)));
    }

    void cacheDecodesOnceUntilFileChanges()
    {
        const QString path = dir.filePath("swap.bmp");
        const QDateTime modified = QDateTime::currentDateTime().addSecs(-60);
        const auto store = [&](const QImage &image, const QDateTime &time) {
            QFile file(path);
            return image.save(path) && file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
        };
        const auto colourOf = [](const QString &file) { return ImageMagickUtil().processImage(file, false, ConversionSettings()).pixel(0, 0); };
        QVERIFY(store(solid(8, 8, qRgb(255, 0, 0)), modified));
        QCOMPARE(colourOf(path), qRgb(255, 0, 0));
        // Same size and time: the cached pixels serve, nothing is read.
        QVERIFY(store(solid(8, 8, qRgb(0, 0, 255)), modified));
        QCOMPARE(colourOf(path), qRgb(255, 0, 0));
        // A changed time or size: decoded again.
        QVERIFY(store(solid(8, 8, qRgb(0, 0, 255)), modified.addSecs(5)));
        QCOMPARE(colourOf(path), qRgb(0, 0, 255));
        QVERIFY(store(solid(9, 8, qRgb(0, 255, 0)), modified.addSecs(5)));
        QCOMPARE(colourOf(path), qRgb(0, 255, 0));

        // Letter case names two files.
        QVERIFY(solid(4, 4, qRgb(10, 20, 30)).save(dir.filePath("Case.bmp")));
        QVERIFY(solid(4, 4, qRgb(40, 50, 60)).save(dir.filePath("case.bmp")));
        QCOMPARE(colourOf(dir.filePath("Case.bmp")), qRgb(10, 20, 30));
        QCOMPARE(colourOf(dir.filePath("case.bmp")), qRgb(40, 50, 60));

        // A failed decode is not kept: the file reads once it is fixed.
        const QString broken = kxtest::writeFile(dir.filePath("broken.png"), "not a picture at all");
        QVERIFY(ImageMagickUtil().processImage(broken, false, ConversionSettings()).isNull());
        QVERIFY(solid(6, 6, qRgb(1, 2, 3)).save(broken));
        QCOMPARE(ImageMagickUtil().processImage(broken, false, ConversionSettings()).size(), QSize(6, 6));
    }

    // Workers racing over two files always get the pixels of the file they asked for.
    void concurrentCallersSeeMatchingPairs()
    {
        const QString files[2] = {dir.filePath("a.bmp"), dir.filePath("b.bmp")};
        QVERIFY(solid(30, 20, qRgb(255, 0, 0)).save(files[0]));
        QVERIFY(solid(20, 30, qRgb(0, 0, 255)).save(files[1]));
        QAtomicInt wrong = 0;
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back(QThread::create([&, t] {
                for (int i = 0; i < 40; ++i) {
                    const int which = (i + t) % 2;
                    const QImage image = ImageMagickUtil().processImage(files[which], false, ConversionSettings());
                    if (image.size() != (which ? QSize(20, 30) : QSize(30, 20)) || image.pixel(0, 0) != (which ? qRgb(0, 0, 255) : qRgb(255, 0, 0)))
                        wrong.ref();
                }
            }));
            threads.back()->start();
        }
        for (const auto &thread : threads)
            QVERIFY(thread->wait(20000));
        QCOMPARE(wrong.loadRelaxed(), 0);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestProcessImage)
#include "tst_processimage.moc"
