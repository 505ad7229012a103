#include <QtTest>

#include <QTemporaryDir>

#include <qrcodegen/qrcodegen.hpp>

#include <sys/stat.h>

#include "imagemagickutil.h"

namespace {

// Draws the watermarks of s on a transparent canvas.
QImage drawn(const ConversionSettings &s, int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(0);
    ImageMagickUtil().drawWatermarks(canvas, s);
    return canvas;
}

// Bounding rectangle of the pixels that are not fully transparent.
QRect paintedArea(const QImage &canvas)
{
    QRect area;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0)
                area |= QRect(x, y, 1, 1);
    return area;
}

ConversionSettings textSettings(const QString &text, int opacity)
{
    ConversionSettings s;
    s.textContent = text;
    s.textSize = 40;
    s.textColor = QColor(255, 0, 0);
    s.textOpacity = opacity;
    s.textPosition = 4;
    return s;
}

} // namespace

class TestWatermarks : public QObject
{
    Q_OBJECT

private slots:
    // Version 1 (21 modules) at 230 pixels: 10-pixel modules inside a one-module white border.
    void qrCodeModulesAreWholeSquares()
    {
        const auto code = qrcodegen::QrCode::encodeText("KX", qrcodegen::QrCode::Ecc::LOW);
        const QImage image = ImageMagickUtil().makeQrCodeImage("KX", 230);
        QCOMPARE(image.size(), QSize(230, 230));
        for (int y = 0; y < 230; ++y)
            for (int x = 0; x < 230; ++x) {
                const int mx = x / 10 - 1, my = y / 10 - 1;
                const bool dark = mx >= 0 && mx < 21 && my >= 0 && my < 21 && code.getModule(mx, my);
                if (image.pixel(x, y) != (dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)))
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
            }
        // 23 units across 100 pixels: the finder's dark corner starts at 100/23.
        const QImage small = ImageMagickUtil().makeQrCodeImage("x", 100);
        QCOMPARE(small.pixel(2, 2), qRgb(255, 255, 255));
        QCOMPARE(small.pixel(6, 6), qRgb(0, 0, 0));
        QCOMPARE(small.pixel(93, 6), qRgb(0, 0, 0));
    }

    void textOpacity_data()
    {
        QTest::addColumn<int>("opacity");
        QTest::addColumn<int>("strongestAlpha");
        QTest::newRow("0 is invisible") << 0 << 0;
        QTest::newRow("50") << 50 << 128;
        QTest::newRow("100 is opaque") << 100 << 255;
    }

    void textOpacity()
    {
        QFETCH(int, opacity);
        QFETCH(int, strongestAlpha);
        const QImage canvas = drawn(textSettings("HHHH", opacity), 400, 200);
        const auto *pixels = reinterpret_cast<const QRgb *>(canvas.constBits());
        const QRgb strongest = *std::max_element(pixels, pixels + 400 * 200, [](QRgb p, QRgb q) { return qAlpha(p) < qAlpha(q); });
        QVERIFY2(qAbs(qAlpha(strongest) - strongestAlpha) <= 1, qPrintable(QString::number(qAlpha(strongest))));
        QVERIFY(opacity == 0 || (strongest & 0xffffff) == 0xff0000u);
    }

    // Too long for one line: clipped, never wrapped, never outside the margin.
    void textStaysInsideMargin()
    {
        ConversionSettings s = textSettings(QString(32, QChar('W')), 100);
        s.textMargin = 30;
        s.textPosition = 0;
        const QRect area = paintedArea(drawn(s, 300, 200));
        QVERIFY2(QRect(30, 30, 240, 140).contains(area) && area.right() >= 265 && area.height() < 70,
                 qPrintable(QString("%1,%2 %3x%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())));
    }

    void picture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("opacity");
        QTest::addColumn<QRect>("painted");
        // A 50 x 20 picture on a 200 x 100 canvas with margin 5.
        QTest::newRow("half size, top right") << "mark.png" << 50 << 2 << 100 << QRect(170, 5, 25, 10);
        QTest::newRow("opacity 0") << "mark.png" << 50 << 4 << 0 << QRect();
        QTest::newRow("1 % is no pixel wide") << "mark.png" << 1 << 0 << 100 << QRect();
        // Opening a named pipe would wait for a writer forever.
        QTest::newRow("named pipe") << "pipe" << 100 << 0 << 100 << QRect();
    }

    void picture()
    {
        QFETCH(QString, file);
        QFETCH(int, size);
        QFETCH(int, position);
        QFETCH(int, opacity);
        QFETCH(QRect, painted);
        QTemporaryDir dir;
        QImage picture(50, 20, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 255));
        QVERIFY(picture.save(dir.filePath("mark.png")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        ConversionSettings s;
        s.imagePath = dir.filePath(file);
        std::tie(s.imageSize, s.imagePosition, s.imageOpacity, s.imageMargin) = std::tuple(size, position, opacity, 5);
        const QImage canvas = drawn(s, 200, 100);
        QCOMPARE(paintedArea(canvas), painted);
        QVERIFY(painted.isEmpty() || canvas.pixel(painted.center()) == qRgba(0, 0, 255, 255));
    }

    // The code is drawn last, opaque, over a translucent text that still shows beside it.
    void qrCodeIsOpaqueAndOverText()
    {
        ConversionSettings s = textSettings("HHHHHHHHHHHH", 40);
        s.textSize = 80;
        s.imageOpacity = 0;
        s.qrCodeText = "https://example.org";
        s.qrCodeSize = 120;
        s.qrCodePosition = 4;
        const QImage canvas = drawn(s, 400, 200);
        for (int y = 40; y < 160; ++y)
            for (int x = 140; x < 260; ++x)
                QVERIFY(canvas.pixel(x, y) == 0xff000000u || canvas.pixel(x, y) == 0xffffffffu);
        QVERIFY(qAlpha(canvas.pixel(100, 100)) > 0 || qAlpha(canvas.pixel(300, 100)) > 0);
    }

    // A text too long for the largest symbol gives no code (logged); the other watermarks are still drawn.
    void tooLongQrTextIsSkipped()
    {
        const QRegularExpression logged("^ImageMagickUtil::makeQrCodeImage: ");
        QTest::ignoreMessage(QtDebugMsg, logged);
        QVERIFY(ImageMagickUtil().makeQrCodeImage(QString(3000, QChar('z')), 200).isNull());
        QVERIFY(!ImageMagickUtil().makeQrCodeImage(QString(2900, QChar('z')), 200).isNull());
        ConversionSettings s = textSettings("HH", 100);
        s.qrCodeText = QString(3000, QChar('q'));
        s.qrCodeSize = 100;
        QTest::ignoreMessage(QtDebugMsg, logged);
        const QImage canvas = drawn(s, 300, 200);
        const QRect area = paintedArea(canvas);
        QVERIFY(!area.isEmpty() && area.right() < 250);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                QVERIFY(qGreen(canvas.pixel(x, y)) == 0 && qBlue(canvas.pixel(x, y)) == 0);
    }
};

QTEST_MAIN(TestWatermarks)
#include "tst_watermarks.moc"
