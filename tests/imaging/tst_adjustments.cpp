#include <QtTest>

#include <QCryptographicHash>

#include "imagemagickutil.h"
#include "pixeladjustments.h"

namespace {

// Every channel takes every value 0..255 in many combinations; the varying alpha shows the result is opaque.
QImage everyChannelValue()
{
    QImage image(256, 512, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgba(x, y & 0xff, (x * 7 + y * 13) & 0xff, (x + y) & 0xff));
    return image;
}

ConversionSettings settingsWith(int contrast, int brightness, int gamma, int sepia, int invert, int blur = 0)
{
    ConversionSettings s;
    std::tie(s.adjustContrast, s.adjustBrightness, s.adjustGamma, s.adjustSepia, s.adjustInvertColours, s.setBlurRadius) =
        std::tuple(contrast, brightness, gamma, sepia, invert, blur);
    return s;
}

} // namespace

class TestAdjustments : public QObject
{
    Q_OBJECT

private slots:
    // Results worked step by step in single precision: NaN from a negative base becomes 0,
    // sepia rounds each new channel to float, inversion compares the adjusted value.
    // Channels apart from sepia are independent, so the digests below also hold their other worked values.
    void workedValues_data()
    {
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<QRgb>("in");
        QTest::addColumn<QRgb>("out");
        const QRgb a = qRgb(30, 128, 220);
        const QRgb b = qRgb(0, 90, 255);
        QTest::newRow("sepia") << settingsWith(0, 0, 0, 1, 0) << qRgb(100, 150, 200) << qRgb(192, 203, 187);
        QTest::newRow("contrast 100") << settingsWith(100, 0, 0, 0, 0) << qRgb(200, 128, 0) << qRgb(255, 128, 0);
        QTest::newRow("contrast 255") << settingsWith(255, 0, 0, 0, 0) << a << qRgb(0, 128, 255);
        QTest::newRow("contrast -255") << settingsWith(-255, 0, 0, 0, 0) << a << qRgb(128, 128, 128);
        QTest::newRow("contrast 1") << settingsWith(1, 0, 0, 0, 0) << b << qRgb(0, 89, 255);
        QTest::newRow("brightness 100") << settingsWith(0, 100, 0, 0, 0) << a << qRgb(130, 228, 255);
        QTest::newRow("gamma 100") << settingsWith(0, 0, 100, 0, 0) << qRgb(64, 0, 255) << qRgb(127, 0, 255);
        QTest::newRow("gamma -99") << settingsWith(0, 0, -99, 0, 0) << b << qRgb(0, 0, 255);
        QTest::newRow("gamma -100 is off") << settingsWith(0, 0, -100, 0, 0) << a << a;
        QTest::newRow("brightness -100, gamma 50") << settingsWith(0, -100, 50, 0, 0) << qRgb(50, 50, 50) << qRgb(0, 0, 0);
        QTest::newRow("brightness -100, gamma -50") << settingsWith(0, -100, -50, 0, 0) << qRgb(50, 50, 50) << qRgb(9, 9, 9);
        QTest::newRow("contrast below zero, NaN") << settingsWith(200, 0, 50, 0, 0) << a << qRgb(0, 161, 255);
        QTest::newRow("sepia with negative square") << settingsWith(-40, -120, -50, 1, 0) << b << qRgb(19, 14, 18);
        QTest::newRow("invert 1") << settingsWith(0, 0, 0, 0, 1) << qRgb(0, 1, 200) << qRgb(255, 1, 200);
        QTest::newRow("invert 128") << settingsWith(0, 0, 0, 0, 128) << a << qRgb(225, 128, 220);
        QTest::newRow("invert 255") << settingsWith(0, 0, 0, 0, 255) << qRgb(0, 254, 255) << qRgb(255, 1, 255);
        QTest::newRow("invert after NaN") << settingsWith(0, -100, 50, 0, 200) << a << qRgb(0, 196, 100);
    }

    void workedValues()
    {
        QFETCH(ConversionSettings, settings);
        QFETCH(QRgb, in);
        QFETCH(QRgb, out);
        QImage pixel(1, 1, QImage::Format_ARGB32);
        pixel.setPixel(0, 0, in);
        QCOMPARE(QString::number(ImageMagickUtil().applyAdjustments(pixel, settings).pixel(0, 0), 16), QString::number(out, 16));
    }

    // Digests of results that matched the step-by-step formulas exactly, over every channel
    // value and, for sepia (which mixes channels), every colour.
    void wholeRanges_data()
    {
        QTest::addColumn<ConversionSettings>("settings");
        QTest::addColumn<bool>("everyColour");
        QTest::addColumn<QByteArray>("md5");
        QTest::newRow("nothing") << settingsWith(0, 0, 0, 0, 0) << false << QByteArray("cec317cca7504ba11ad56d0a15773152");
        QTest::newRow("contrast -100") << settingsWith(-100, 0, 0, 0, 0) << false << QByteArray("34dffb926354fe9941f1be85de37ff9b");
        QTest::newRow("contrast 259") << settingsWith(259, 0, 0, 0, 0) << false << QByteArray("f3f1841a5803b8f15d6588293779a957");
        QTest::newRow("brightness -255") << settingsWith(0, -255, 0, 0, 0) << false << QByteArray("c73661696f833a62973d34ab8f7b04ab");
        QTest::newRow("gamma 699") << settingsWith(0, 0, 699, 0, 0) << false << QByteArray("89c5189716e05bc851ce8d412b8e534a");
        QTest::newRow("gamma 37") << settingsWith(0, 0, 37, 0, 0) << false << QByteArray("078b193339f9ee95002b426a5b0b4219");
        QTest::newRow("above 255 then gamma") << settingsWith(150, 80, 23, 0, 0) << false << QByteArray("b50bc74d9c444f61ff850ca9f8795449");
        QTest::newRow("sepia with NaN") << settingsWith(0, -100, 50, 1, 0) << false << QByteArray("0905355f10859403bb4434e7a185ce30");
        QTest::newRow("everything") << settingsWith(50, -30, 30, 1, 100) << false << QByteArray("b8fbfd72fe259b3d1c45c47c8dd56697");
        QTest::newRow("everything, strong") << settingsWith(-200, 170, 450, 1, 255) << false << QByteArray("38eb11b49b828dc070270680a8a37845");
        QTest::newRow("sepia, tone, inversion, every colour") << settingsWith(-30, 20, -100, 1, 150) << true << QByteArray("136b7dfc689c0817f80f1bfc38f97d6a");
    }

    void wholeRanges()
    {
        QFETCH(ConversionSettings, settings);
        QFETCH(bool, everyColour);
        QFETCH(QByteArray, md5);
        QImage source = everyChannelValue();
        if (everyColour) {
            source = QImage(4096, 4096, QImage::Format_RGB32);
            auto *pixels = reinterpret_cast<QRgb *>(source.bits());
            for (quint32 i = 0; i < 1u << 24; ++i)
                pixels[i] = 0xff000000u | i;
        }
        const QImage adjusted = ImageMagickUtil().applyAdjustments(source, settings);
        QCOMPARE(adjusted.format(), QImage::Format_RGB32);
        QCOMPARE(QCryptographicHash::hash(QByteArrayView(adjusted.constBits(), adjusted.sizeInBytes()), QCryptographicHash::Md5).toHex(), md5);
    }

    void contrastFactorOfHundred() { QCOMPARE(contrastFactor(100), 91945.0f / 40545.0f); }

    // Several workers blur at once (previews beside a conversion); each gets what one thread alone gets.
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

    // A null picture stays null. Blurred, the borders turn partly transparent; radius 1 comes out
    // unblurred, yet as ARGB.
    void blurFadesTheBorders()
    {
        QVERIFY(ImageMagickUtil().applyAdjustments(QImage(), settingsWith(10, 10, 10, 1, 10, 5)).isNull());
        QImage source(40, 30, QImage::Format_RGB32);
        source.fill(qRgb(200, 50, 20));
        QCOMPARE(ImageMagickUtil().applyAdjustments(source, settingsWith(0, 0, 0, 0, 0, 1)).format(), QImage::Format_ARGB32);
        for (int radius : {2, 10, 50}) {
            const QImage blurred = ImageMagickUtil().applyAdjustments(source, settingsWith(0, 0, 0, 0, 0, radius));
            QCOMPARE(blurred.format(), QImage::Format_ARGB32);
            QCOMPARE(blurred.size(), source.size());
            const int corner = qAlpha(blurred.pixel(0, 0)), edge = qAlpha(blurred.pixel(20, 0));
            QVERIFY2(0 < corner && corner < edge && edge < 255, qPrintable(QString("%1 %2").arg(corner).arg(edge)));
        }
    }
};

QTEST_MAIN(TestAdjustments)
#include "tst_adjustments.moc"
