#include <QtTest>

#include <QGraphicsBlurEffect>

#include <cmath>
#include <memory>
#include <vector>

#include "imagemagickutil.h"
#include "pixeladjustments.h"

namespace {

// The adjustment of one pixel computed directly from the formulas, channel by
// channel and step by step, with no table: the reference for the fast path.
QRgb referencePixel(QRgb pixel, const ConversionSettings &s)
{
    const int k = s.adjustContrast;
    const int b = s.adjustBrightness;
    const float g = float(s.adjustGamma + 100) / 100.0;
    const bool sepia = s.adjustSepia == 1;
    const float t = float(s.adjustInvertColours);

    float c[3] = {float(qRed(pixel)), float(qGreen(pixel)), float(qBlue(pixel))};
    for (float &v : c) {
        if (k != 0) {
            float d = float((259 - k) * 255);
            if (d == 0)
                d = float((258 - k) * 255);
            const float f = float((k + 255) * 259) / d;
            v = (v - 128) * f + 128;
        }
        if (b != 0)
            v = v + b;
        if (g != 0)
            v = std::pow(v / 255, 1 / g) * 255;
    }
    if (sepia) {
        const float r1 = 0.393 * c[0] + 0.769 * c[1] + 0.189 * c[2];
        const float g1 = 0.686 * c[1] + 0.349 * r1 + 0.168 * c[2];
        const float b1 = 0.534 * g1 + 0.272 * r1 + 0.131 * c[2];
        c[0] = r1;
        c[1] = g1;
        c[2] = b1;
    }
    int out[3];
    for (int i = 0; i < 3; ++i) {
        float v = c[i];
        if (t != 0 && t > v)
            v = 255 - v;
        out[i] = std::isnan(v) ? 0 : int(std::max(0.0f, std::min(255.0f, v)));
    }
    return qRgba(out[0], out[1], out[2], qAlpha(pixel));
}

// Every channel takes every value 0..255 in many combinations; the alpha
// varies too, to show that the result is opaque.
QImage everyChannelValue()
{
    QImage image(256, 512, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 256; ++x)
            line[x] = qRgba(x, y & 0xff, (x * 7 + y * 13) & 0xff, (x + y) & 0xff);
    }
    return image;
}

ConversionSettings settingsWith(int contrast, int brightness, int gamma, int sepia, int invert, int blur = 0)
{
    ConversionSettings s;
    s.adjustContrast = contrast;
    s.adjustBrightness = brightness;
    s.adjustGamma = gamma;
    s.adjustSepia = sepia;
    s.adjustInvertColours = invert;
    s.setBlurRadius = blur;
    return s;
}

QImage onePixel(QRgb pixel)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, pixel);
    return image;
}

} // namespace

class TestAdjustments : public QObject
{
    Q_OBJECT

private slots:
    void fastPathMatchesFormula_data()
    {
        QTest::addColumn<ConversionSettings>("settings");
        // Gamma 0 still computes the power with exponent 1 and keeps every value.
        QTest::newRow("nothing") << settingsWith(0, 0, 0, 0, 0);
        QTest::newRow("contrast 100") << settingsWith(100, 0, 0, 0, 0);
        QTest::newRow("contrast -100") << settingsWith(-100, 0, 0, 0, 0);
        QTest::newRow("contrast 255") << settingsWith(255, 0, 0, 0, 0);
        QTest::newRow("contrast -255") << settingsWith(-255, 0, 0, 0, 0);
        QTest::newRow("contrast 1") << settingsWith(1, 0, 0, 0, 0);
        QTest::newRow("contrast 259") << settingsWith(259, 0, 0, 0, 0);
        QTest::newRow("brightness 100") << settingsWith(0, 100, 0, 0, 0);
        QTest::newRow("brightness -255") << settingsWith(0, -255, 0, 0, 0);
        QTest::newRow("gamma 100") << settingsWith(0, 0, 100, 0, 0);
        QTest::newRow("gamma 699") << settingsWith(0, 0, 699, 0, 0);
        QTest::newRow("gamma -99") << settingsWith(0, 0, -99, 0, 0);
        QTest::newRow("gamma -100 is off") << settingsWith(0, 0, -100, 0, 0);
        QTest::newRow("gamma 37") << settingsWith(0, 0, 37, 0, 0);
        QTest::newRow("negative base, NaN") << settingsWith(0, -100, 50, 0, 0);
        QTest::newRow("negative base, square") << settingsWith(0, -100, -50, 0, 0);
        QTest::newRow("contrast below zero, NaN") << settingsWith(200, 0, 50, 0, 0);
        QTest::newRow("above 255 then gamma") << settingsWith(150, 80, 23, 0, 0);
        QTest::newRow("sepia") << settingsWith(0, 0, 0, 1, 0);
        QTest::newRow("sepia with NaN") << settingsWith(0, -100, 50, 1, 0);
        QTest::newRow("sepia with negative square") << settingsWith(-40, -120, -50, 1, 0);
        QTest::newRow("invert 1") << settingsWith(0, 0, 0, 0, 1);
        QTest::newRow("invert 128") << settingsWith(0, 0, 0, 0, 128);
        QTest::newRow("invert 255") << settingsWith(0, 0, 0, 0, 255);
        QTest::newRow("invert after NaN") << settingsWith(0, -100, 50, 0, 200);
        QTest::newRow("everything") << settingsWith(50, -30, 30, 1, 100);
        QTest::newRow("everything, strong") << settingsWith(-200, 170, 450, 1, 255);
    }

    // The tables give exactly the bytes of the formulas.
    void fastPathMatchesFormula()
    {
        QFETCH(ConversionSettings, settings);
        const QImage source = everyChannelValue();
        QImage expected(source.size(), QImage::Format_RGB32);
        const QImage opaque = source.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
            auto *out = reinterpret_cast<QRgb *>(expected.scanLine(y));
            for (int x = 0; x < source.width(); ++x)
                out[x] = referencePixel(in[x], settings);
        }

        const QImage adjusted = ImageMagickUtil().applyAdjustments(source, settings);
        QCOMPARE(adjusted.format(), QImage::Format_RGB32);
        QCOMPARE(adjusted, expected);
    }

    void sepiaOverEveryColour_data()
    {
        QTest::addColumn<ConversionSettings>("settings");
        // Gamma off keeps the reference cheap enough for all 2^24 colours.
        QTest::newRow("sepia") << settingsWith(0, 0, -100, 1, 0);
        QTest::newRow("sepia, tone and inversion") << settingsWith(-30, 20, -100, 1, 150);
    }

    // Sepia mixes the channels, so it is checked on every colour: rounding each
    // new channel to single precision matters for a few dozen of them.
    void sepiaOverEveryColour()
    {
        QFETCH(ConversionSettings, settings);
        QImage source(4096, 4096, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(source.scanLine(y));
            for (int x = 0; x < source.width(); ++x)
                line[x] = 0xff000000u | quint32(y) << 12 | quint32(x);
        }
        const QImage adjusted = ImageMagickUtil().applyAdjustments(source, settings);
        int mismatches = 0;
        for (int y = 0; y < source.height(); ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
            const auto *out = reinterpret_cast<const QRgb *>(adjusted.constScanLine(y));
            for (int x = 0; x < source.width(); ++x)
                mismatches += out[x] != referencePixel(in[x], settings);
        }
        QCOMPARE(mismatches, 0);
    }

    void workedValues_data()
    {
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<QRgb>("in");
        QTest::addColumn<QRgb>("out");
        QTest::newRow("sepia") << settingsWith(0, 0, 0, 1, 0) << qRgb(100, 150, 200) << qRgb(192, 203, 187);
        QTest::newRow("contrast 100") << settingsWith(100, 0, 0, 0, 0) << qRgb(200, 128, 0) << qRgb(255, 128, 0);
        QTest::newRow("gamma 100") << settingsWith(0, 0, 100, 0, 0) << qRgb(64, 0, 255) << qRgb(127, 0, 255);
        QTest::newRow("brightness -100, gamma 50") << settingsWith(0, -100, 50, 0, 0) << qRgb(50, 50, 50) << qRgb(0, 0, 0);
        QTest::newRow("brightness -100, gamma -50") << settingsWith(0, -100, -50, 0, 0) << qRgb(50, 50, 50) << qRgb(9, 9, 9);
        QTest::newRow("invert 1") << settingsWith(0, 0, 0, 0, 1) << qRgb(0, 1, 200) << qRgb(255, 1, 200);
        QTest::newRow("invert 255") << settingsWith(0, 0, 0, 0, 255) << qRgb(0, 254, 255) << qRgb(255, 1, 255);
    }

    void workedValues()
    {
        QFETCH(ConversionSettings, settings);
        QFETCH(QRgb, in);
        QFETCH(QRgb, out);
        const QImage adjusted = ImageMagickUtil().applyAdjustments(onePixel(in), settings);
        QCOMPARE(QString::number(adjusted.pixel(0, 0), 16), QString::number(out, 16));
    }

    void contrastFactorOfHundred()
    {
        QCOMPARE(contrastFactor(100), 91945.0f / 40545.0f);
        QCOMPARE(contrastFactor(259), float(514 * 259) / float(-255));
    }

    void blurLeavesPartlyTransparentBorders()
    {
        QImage source(40, 30, QImage::Format_RGB32);
        source.fill(qRgb(200, 50, 20));
        // Radius 1 comes out of the effect unblurred, yet as ARGB.
        QCOMPARE(ImageMagickUtil().applyAdjustments(source, settingsWith(0, 0, 0, 0, 0, 1)).format(),
                 QImage::Format_ARGB32);
        for (int radius : {2, 10, 50}) {
            const QImage blurred = ImageMagickUtil().applyAdjustments(source, settingsWith(0, 0, 0, 0, 0, radius));
            QCOMPARE(blurred.format(), QImage::Format_ARGB32);
            QCOMPARE(blurred.size(), source.size());
            const int corner = qAlpha(blurred.pixel(0, 0));
            const int edge = qAlpha(blurred.pixel(20, 0));
            QVERIFY2(corner > 0 && corner < 255, qPrintable(QString::number(corner)));
            QVERIFY2(edge > 0 && edge < 255, qPrintable(QString::number(edge)));
            QVERIFY(corner < edge);
        }
    }

    // Several workers blur at once (previews beside a conversion) and each gets
    // the picture one thread alone gets.
    void blurRendersOnSeveralThreadsAtOnce()
    {
        const QImage source = everyChannelValue().copy(0, 0, 8, 8);
        const ConversionSettings settings = settingsWith(20, 0, 0, 1, 0, 6);
        const QImage here = ImageMagickUtil().applyAdjustments(source, settings);
        QVERIFY(qAlpha(here.pixel(0, 0)) < 255);
        QAtomicInt wrong = 0;
        std::vector<std::unique_ptr<QThread>> workers;
        for (int t = 0; t < 4; ++t) {
            workers.emplace_back(QThread::create([&] {
                for (int i = 0; i < 500; ++i)
                    if (ImageMagickUtil().applyAdjustments(source, settings) != here)
                        wrong.ref();
            }));
            workers.back()->start();
        }
        for (const auto &worker : workers)
            QVERIFY(worker->wait(30000));
        QCOMPARE(wrong.loadRelaxed(), 0);
    }

    void nullImagePassesThrough()
    {
        QVERIFY(ImageMagickUtil().applyAdjustments(QImage(), settingsWith(10, 10, 10, 1, 10, 5)).isNull());
        QVERIFY(ImageMagickUtil().applyEffectToImage(QImage(), new QGraphicsBlurEffect, 0).isNull());
    }

    void effectToImageGrowsByExtent()
    {
        QImage source(20, 10, QImage::Format_RGB32);
        source.fill(Qt::white);
        QCOMPARE(ImageMagickUtil().applyEffectToImage(source, nullptr, 0), source);

        auto *effect = new QGraphicsBlurEffect;
        effect->setBlurRadius(4);
        const QImage grown = ImageMagickUtil().applyEffectToImage(source, effect, 5);
        QCOMPARE(grown.size(), QSize(30, 20));
        QCOMPARE(grown.format(), QImage::Format_ARGB32);
        // The blur spreads past the picture's edge into the extent.
        QVERIFY(qAlpha(grown.pixel(3, 10)) > 0);
        QCOMPARE(qAlpha(grown.pixel(0, 0)), 0);
    }
};

QTEST_MAIN(TestAdjustments)
#include "tst_adjustments.moc"
