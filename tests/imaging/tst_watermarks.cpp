#include <QtTest>

#include <QTemporaryDir>

#include <qrcodegen/qrcodegen.hpp>

#include <sys/stat.h>

#include "imagemagickutil.h"

namespace {

QImage transparentCanvas(int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(0);
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
    // Version 1 (21 modules) at 230 pixels: 10-pixel modules from (10, 10) to
    // (220, 220) inside a one-module white border.
    void qrCodeModulesAreWholeSquares()
    {
        const QString text = "KX";
        const auto code = qrcodegen::QrCode::encodeText("KX", qrcodegen::QrCode::Ecc::LOW);
        QCOMPARE(code.getSize(), 21);

        const QImage image = ImageMagickUtil().makeQrCodeImage(text, 230);
        QCOMPARE(image.size(), QSize(230, 230));
        for (int y = 0; y < 230; ++y) {
            for (int x = 0; x < 230; ++x) {
                const int mx = x / 10 - 1;
                const int my = y / 10 - 1;
                const bool inside = mx >= 0 && mx < 21 && my >= 0 && my < 21;
                const QRgb expected = inside && code.getModule(mx, my) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
            }
        }
    }

    void qrCodeOfOneCharacterIsVersionOne()
    {
        // 21 modules and the border: 23 units across 100 pixels, the finder
        // pattern's dark corner module starts at 100/23.
        const QImage image = ImageMagickUtil().makeQrCodeImage("x", 100);
        QCOMPARE(image.size(), QSize(100, 100));
        QCOMPARE(image.pixel(2, 2), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(6, 6), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(97, 97), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(93, 6), qRgb(0, 0, 0));
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
        QImage canvas = transparentCanvas(400, 200);
        ImageMagickUtil().drawWatermarks(canvas, textSettings("HHHH", opacity));
        QRgb strongest = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (qAlpha(canvas.pixel(x, y)) > qAlpha(strongest))
                    strongest = canvas.pixel(x, y);
        QVERIFY2(qAbs(qAlpha(strongest) - strongestAlpha) <= 1, qPrintable(QString::number(qAlpha(strongest))));
        if (opacity > 0)
            QCOMPARE(strongest & 0xffffff, 0xff0000u);
    }

    void textStaysInsideMargin()
    {
        ConversionSettings s = textSettings("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 100);
        s.textMargin = 30;
        s.textPosition = 0;
        QImage canvas = transparentCanvas(300, 200);
        ImageMagickUtil().drawWatermarks(canvas, s);
        const QRect area = paintedArea(canvas);
        QVERIFY(!area.isEmpty());
        // Too long for one line: clipped, never wrapped, never outside the margin.
        QVERIFY2(QRect(30, 30, 240, 140).contains(area), qPrintable(QString("%1,%2 %3x%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())));
        QVERIFY(area.right() >= 265);
        QVERIFY(area.height() < 70);
    }

    void picture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("opacity");
        QTest::addColumn<QRect>("painted");
        // A 50 x 20 picture on a 200 x 100 canvas with margin 5.
        QTest::newRow("own size, top right") << "mark.png" << 100 << 2 << 100 << QRect(145, 5, 50, 20);
        QTest::newRow("half size, centred") << "mark.png" << 50 << 4 << 100 << QRect(87, 45, 25, 10);
        QTest::newRow("opacity 0") << "mark.png" << 50 << 4 << 0 << QRect();
        QTest::newRow("position outside 0..8") << "mark.png" << 50 << 9 << 100 << QRect();
        QTest::newRow("1 % is no pixel wide") << "mark.png" << 1 << 0 << 100 << QRect();
        QTest::newRow("missing file") << "missing.png" << 100 << 0 << 100 << QRect();
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
        s.imageSize = size;
        s.imagePosition = position;
        s.imageMargin = 5;
        s.imageOpacity = opacity;
        QImage canvas = transparentCanvas(200, 100);
        ImageMagickUtil().drawWatermarks(canvas, s);
        QCOMPARE(paintedArea(canvas), painted);
        if (!painted.isEmpty())
            QCOMPARE(canvas.pixel(painted.center()), qRgba(0, 0, 255, 255));
    }

    void qrCodeIsOpaqueAndOverText()
    {
        ConversionSettings s = textSettings("HHHHHHHHHHHH", 40);
        s.textSize = 80;
        s.imageOpacity = 0;
        s.qrCodeText = "https://example.org";
        s.qrCodeSize = 120;
        s.qrCodePosition = 4;
        QImage canvas = transparentCanvas(400, 200);
        ImageMagickUtil().drawWatermarks(canvas, s);

        const QRect box(140, 40, 120, 120);
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const QRgb p = canvas.pixel(x, y);
                if (box.contains(x, y))
                    QVERIFY(p == qRgba(0, 0, 0, 255) || p == qRgba(255, 255, 255, 255));
            }
        }
        // The text shows beside the code.
        QVERIFY(qAlpha(canvas.pixel(100, 100)) > 0 || qAlpha(canvas.pixel(300, 100)) > 0);
    }

    // A text too long for the largest symbol gives no code (logged); the
    // other watermarks are still drawn.
    void tooLongQrTextIsSkipped()
    {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^ImageMagickUtil::makeQrCodeImage: "));
        QVERIFY(ImageMagickUtil().makeQrCodeImage(QString(3000, QChar('z')), 200).isNull());
        QVERIFY(!ImageMagickUtil().makeQrCodeImage(QString(2900, QChar('z')), 200).isNull());

        ConversionSettings s = textSettings("HH", 100);
        s.qrCodeText = QString(3000, QChar('q'));
        s.qrCodeSize = 100;
        QImage canvas = transparentCanvas(300, 200);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^ImageMagickUtil::makeQrCodeImage: "));
        ImageMagickUtil().drawWatermarks(canvas, s);
        const QRect area = paintedArea(canvas);
        QVERIFY(!area.isEmpty());
        QVERIFY(area.right() < 250);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                QVERIFY(qGreen(canvas.pixel(x, y)) == 0 && qBlue(canvas.pixel(x, y)) == 0);
    }

    void nullCanvasIsLeftAlone()
    {
        QImage canvas;
        ImageMagickUtil().drawWatermarks(canvas, textSettings("text", 100));
        QVERIFY(canvas.isNull());
    }
};

QTEST_MAIN(TestWatermarks)
#include "tst_watermarks.moc"
