// The HEIF/HEIC/AVIF and JPEG XL plugins, through QImageReader and QImageWriter.

#include "codecfixtures.h"
#include "kxtest.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>

#include <atomic>
#include <cmath>
#include <thread>

using namespace codecfixtures;

class TestImageFormats : public QObject
{
    Q_OBJECT

private:
    static QImage readBytes(const QByteArray &bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return QImageReader(&buffer).read();
    }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // Plain sizes and alpha are covered through the program's writer; these
    // are the sizes and depths the handlers treat specially.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QImage::Format>("pixels");
        QTest::addColumn<double>("tolerance");
        for (const QByteArray format : {"heic", "avif", "jxl"}) {
            const double tolerance = format == "jxl" ? 3.0 : 5.0;
            QTest::newRow(format + " odd size") << format << QSize(65, 47) << QImage::Format_RGB32 << tolerance;
            QTest::newRow(format + " 1x1") << format << QSize(1, 1) << QImage::Format_RGB32 << tolerance;
        }
        QTest::newRow("heic from 16 bits") << QByteArray("heic") << QSize(64, 48) << QImage::Format_RGBX64 << 5.0;
        QTest::newRow("jxl from 16 bits") << QByteArray("jxl") << QSize(64, 48) << QImage::Format_RGBX64 << 3.0;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(QImage::Format, pixels);
        QFETCH(double, tolerance);
        const QImage original = kxtest::makePhotoLikeImage(size.width(), size.height()).convertToFormat(pixels);
        const QImage decoded = readBytes(encodeWithQt(original, format));
        QCOMPARE(decoded.size(), size);
        QVERIFY2(kxtest::meanChannelDifference(decoded, original) <= tolerance,
                 qPrintable(QString::number(kxtest::meanChannelDifference(decoded, original))));
    }

    void losslessJxlAtFullQuality()
    {
        const QImage original = kxtest::makePhotoLikeImage(64, 48, true);
        const QImage decoded = readBytes(encodeWithQt(original, "jxl", 100));
        QCOMPARE(kxtest::maxChannelDifference(decoded, original), 0);
    }

    void encoderOptions_data()
    {
        QTest::addColumn<QByteArray>("format");
        for (const QByteArray format : {"heic", "heif", "avif", "jxl"})
            QTest::newRow(format) << format;
    }

    // Quality changes the file, the ICC profile travels, a null image writes nothing.
    void encoderOptions()
    {
        QFETCH(QByteArray, format);
        const QImage photo = kxtest::makePhotoLikeImage(128, 96);
        const QByteArray low = encodeWithQt(photo, format, 10);
        const QByteArray high = encodeWithQt(photo, format, 95);
        QVERIFY2(!low.isEmpty() && low.size() < high.size(),
                 qPrintable(QStringLiteral("%1 vs %2").arg(low.size()).arg(high.size())));

        QImage original = kxtest::makePhotoLikeImage(64, 48);
        original.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const QImage decoded = readBytes(encodeWithQt(original, format));
        QCOMPARE(decoded.colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY2(kxtest::meanChannelDifference(decoded, original) <= (format == "jxl" ? 3 : 5),
                 qPrintable(QString::number(kxtest::meanChannelDifference(decoded, original))));

        QCOMPARE(encodeWithQt(QImage(), format), QByteArray());
    }

    // A profile that libjxl cannot name (a tabulated tone curve) stays ICC;
    // lossy pixels then come out of libjxl in a standard space and must be
    // brought back into the profile.
    void jxlKeepsAnUnnamedProfile()
    {
        QList<uint16_t> curve;
        for (int i = 0; i < 256; ++i)
            curve << uint16_t(std::pow(i / 255.0, 1.8) * 65535.0 + 0.5);
        const QColorSpace tabulated(QColorSpace::Primaries::AdobeRgb, curve);
        QVERIFY(tabulated.isValid());
        QImage original = kxtest::makePhotoLikeImage(64, 48);
        original.setColorSpace(tabulated);
        const QImage decoded = readBytes(encodeWithQt(original, "jxl"));
        QCOMPARE(decoded.colorSpace(), tabulated);
        QCOMPARE(decoded.format(), QImage::Format_RGB888);
        QVERIFY2(kxtest::meanChannelDifference(decoded, original) <= 3,
                 qPrintable(QString::number(kxtest::meanChannelDifference(decoded, original))));
    }

    void signatures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("format");
        const QByteArray ftyp("\0\0\0\x18" "ftyp", 8);
        QTest::newRow("heic major") << ftyp + "heic" + QByteArray(4, '\0') + "mif1heic" << QByteArray("heic");
        QTest::newRow("avif compatible") << ftyp + "mif1" + QByteArray(4, '\0') + "mif1avif" << QByteArray("avif");
        QTest::newRow("generic heif") << ftyp + "mif1" + QByteArray(4, '\0') + "mif1miaf" << QByteArray("heif");
        QTest::newRow("mp4 video") << ftyp + "isom" + QByteArray(4, '\0') + "isomiso2" << QByteArray();
        QTest::newRow("jxl codestream") << QByteArray("\xff\x0a\xfa\x7f", 4) << QByteArray("jxl");
        QTest::newRow("jxl container") << QByteArray("\0\0\0\x0cJXL \x0d\x0a\x87\x0a", 12) << QByteArray("jxl");
        QTest::newRow("jpeg") << QByteArray("\xff\xd8\xff\xe0", 4) << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void signatures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, format);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QByteArray found = reader.format();
        if (format.isEmpty())
            QVERIFY2(found != "heif" && found != "heic" && found != "avif" && found != "jxl", found.constData());
        else
            QCOMPARE(found, format);
    }

    void hostileInputFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QImage picture = kxtest::makePhotoLikeImage(64, 48);
        for (const QByteArray format : {"heic", "avif", "jxl"}) {
            const QByteArray good = encodeWithQt(picture, format);
            QTest::newRow(format + " all but one byte") << good.left(good.size() - 1);
            QByteArray scrambled = good;
            for (qsizetype i = 40; i < scrambled.size(); i += 7)
                scrambled[i] = char(scrambled[i] ^ 0x5a);
            QTest::newRow(format + " scrambled") << scrambled;
        }
        const QByteArray ftyp("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24);
        QTest::newRow("heic ftyp only") << ftyp;
        QTest::newRow("heic absurd box size") << ftyp + QByteArray("\xff\xff\xff\xf0meta", 8) + QByteArray(64, '\x01');
        QTest::newRow("heic box of size 1") << ftyp + QByteArray("\0\0\0\x01meta\xff\xff\xff\xff\xff\xff\xff\xff", 16);
        QTest::newRow("jxl signature only") << QByteArray("\xff\x0a", 2);
        QTest::newRow("jxl garbage") << QByteArray("\xff\x0a", 2) + QByteArray(4096, '\xa5');
        QTest::newRow("jxl container garbage") << QByteArray("\0\0\0\x0cJXL \x0d\x0a\x87\x0a", 12) + QByteArray(512, '\x33');
    }

    void hostileInputFails()
    {
        QFETCH(QByteArray, bytes);
        const QImage image = readBytes(bytes);
        // Truncation inside the coded pixels may still give a picture; what
        // matters is that nothing crashes or hangs and no garbage size comes out.
        QVERIFY(image.isNull() || image.size() == QSize(64, 48));
    }

    // A coded file larger than the allocation limit is refused before it is read.
    void oversizedFileIsNotRead()
    {
        QByteArray padding(2 * 1024 * 1024, '\0');
        qToBigEndian(quint32(padding.size()), padding.data());
        padding.replace(4, 4, "free");
        const QByteArray padded = encodeWithQt(kxtest::makePhotoLikeImage(64, 48), "heic") + padding;
        QCOMPARE(readBytes(padded).size(), QSize(64, 48));
        QImageReader::setAllocationLimit(1);
        const QImage refused = readBytes(padded);
        QImageReader::setAllocationLimit(256);
        QVERIFY(refused.isNull());
    }

    void greyJxl_data()
    {
        QTest::addColumn<bool>("alpha");
        QTest::newRow("grey") << false;
        QTest::newRow("grey and alpha") << true;
    }

    void greyJxl()
    {
        QFETCH(bool, alpha);
        const QImage original = kxtest::makePhotoLikeImage(64, 48, alpha);
        const QImage decoded = readBytes(encodeJxl(original, 1, true, alpha));
        QCOMPARE(decoded.size(), original.size());
        QCOMPARE(decoded.hasAlphaChannel(), alpha);
        QImage grey = original.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                const QRgb p = grey.pixel(x, y);
                grey.setPixel(x, y, qRgba(qGray(p), qGray(p), qGray(p), qAlpha(p)));
            }
        QCOMPARE(kxtest::meanChannelDifference(decoded, grey), 0.0);
    }

    // (Debian's libaom cannot encode 10-bit AVIF through libheif, so only HEVC here.)
    void tenBitFilesKeepTheirDepth()
    {
        const QImage original = kxtest::makePhotoLikeImage(64, 48);
        const QByteArray bytes = encodeHeif(original, false, 1, 10);
        QVERIFY(!bytes.isEmpty());
        const QImage decoded = readBytes(bytes);
        QCOMPARE(decoded.format(), QImage::Format_RGBX64);
        QVERIFY2(kxtest::meanChannelDifference(decoded, original) <= 5,
                 qPrintable(QString::number(kxtest::meanChannelDifference(decoded, original))));
        // Full range: white stays white.
        QImage white(32, 32, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(readBytes(encodeHeif(white, false, 1, 10)).pixelColor(16, 16).rgba64().red(), quint16(0xffff));
    }

    void severalThreadsAtOnce()
    {
        const QList<QByteArray> formats{"heic", "avif", "jxl", "heic", "avif", "jxl"};
        std::atomic<int> good{0};
        std::vector<std::thread> threads;
        for (const QByteArray &format : formats) {
            threads.emplace_back([format, &good] {
                const QImage original = kxtest::makePhotoLikeImage(64, 48);
                const QImage decoded = readBytes(encodeWithQt(original, format));
                if (decoded.size() == original.size() && kxtest::meanChannelDifference(decoded, original) <= 5)
                    ++good;
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(good.load(), int(formats.size()));
    }
};

QTEST_GUILESS_MAIN(TestImageFormats)
#include "tst_imageformats.moc"
