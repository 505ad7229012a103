// The HEIF/HEIC/AVIF and JPEG XL plugins, through QImageReader and QImageWriter.

#include "codecfixtures.h"
#include "kxtest.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <atomic>
#include <cmath>
#include <thread>

using namespace codecfixtures;

namespace {

QImage readBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read();
}

} // namespace

class TestImageFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    // Plain sizes and alpha are covered through the program's writer; these are
    // the sizes, depths, profiles and channel layouts the handlers treat specially.
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QImage::Format>("pixels"); // Format_Invalid: any
        const QImage photo = kxtest::makePhotoLikeImage(64, 48);
        const QImage odd = kxtest::makePhotoLikeImage(65, 47);
        const QImage dot = kxtest::makePhotoLikeImage(1, 1);
        QImage adobe = photo;
        adobe.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        // HEIF is HEIC's handler under another brand; tst_imagewriters writes both.
        for (const QByteArray format : {"heic", "avif", "jxl"}) {
            const double tolerance = format == "jxl" ? 3.0 : 5.0;
            QTest::newRow(format + " Adobe RGB") << encodeWithQt(adobe, format) << adobe << tolerance << QImage::Format_Invalid;
            QTest::newRow(format + " odd size") << encodeWithQt(odd, format) << odd << tolerance << QImage::Format_Invalid;
            QTest::newRow(format + " 1x1") << encodeWithQt(dot, format) << dot << tolerance << QImage::Format_Invalid;
        }
        const QImage deep = photo.convertToFormat(QImage::Format_RGBX64);
        QTest::newRow("heic from 16 bits") << encodeWithQt(deep, "heic") << deep << 5.0 << QImage::Format_Invalid;
        QTest::newRow("jxl from 16 bits") << encodeWithQt(deep, "jxl") << deep << 3.0 << QImage::Format_Invalid;
        const QImage translucent = kxtest::makePhotoLikeImage(64, 48, true);
        QTest::newRow("jxl lossless") << encodeWithQt(translucent, "jxl", 100) << translucent << 0.0 << QImage::Format_Invalid;

        // A profile libjxl cannot name (a tabulated curve) stays ICC, and lossy
        // pixels must be brought back from libjxl's standard space into it.
        QList<uint16_t> curve;
        for (int i = 0; i < 256; ++i)
            curve << uint16_t(std::pow(i / 255.0, 1.8) * 65535.0 + 0.5);
        QImage tabulated = photo;
        tabulated.setColorSpace(QColorSpace(QColorSpace::Primaries::AdobeRgb, curve));
        QTest::newRow("jxl unnamed profile") << encodeWithQt(tabulated, "jxl") << tabulated << 3.0 << QImage::Format_RGB888;

        // Grey samples, so that the grey file holds exactly the picture.
        QImage grey(64, 48, QImage::Format_ARGB32);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.setPixel(x, y, qRgba(x * 4, x * 4, x * 4, 255 - y * 5));
        const QImage opaqueGrey = grey.convertToFormat(QImage::Format_RGB32);
        QTest::newRow("jxl grey") << encodeJxl(opaqueGrey, 1, true) << opaqueGrey << 0.0 << QImage::Format_Invalid;
        QTest::newRow("jxl grey and alpha") << encodeJxl(grey, 1, true, true) << grey << 0.0 << QImage::Format_Invalid;

        // (Debian's libaom cannot encode 10-bit AVIF through libheif, so only HEVC here.)
        QTest::newRow("heic 10 bits") << encodeHeif(photo, false, 1, 10) << photo << 5.0 << QImage::Format_RGBX64;
        QImage white(32, 32, QImage::Format_RGB32);
        white.fill(Qt::white);
        QTest::newRow("heic 10-bit white") << encodeHeif(white, false, 1, 10) << white << 0.0 << QImage::Format_RGBX64;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, expected);
        QFETCH(double, tolerance);
        QFETCH(QImage::Format, pixels);
        const QImage decoded = readBytes(bytes);
        QCOMPARE(decoded.size(), expected.size());
        QCOMPARE(decoded.hasAlphaChannel(), expected.hasAlphaChannel());
        if (pixels != QImage::Format_Invalid)
            QCOMPARE(decoded.format(), pixels);
        if (expected.colorSpace().isValid())
            QCOMPARE(decoded.colorSpace(), expected.colorSpace());
        // Deep samples are widened to the full range: white stays 0xffff.
        if (expected.pixel(0, 0) == qRgb(255, 255, 255))
            QCOMPARE(decoded.pixelColor(0, 0).rgba64().red(), quint16(0xffff));
        const double difference = kxtest::meanChannelDifference(decoded, expected);
        QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
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
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void signatures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QByteArray found = QImageReader(&buffer).format();
        const bool ours = QByteArrayList{"heif", "heic", "avif", "jxl"}.contains(found);
        QVERIFY2(format.isEmpty() ? !ours : found == format, found.constData());
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

    // Truncation inside the coded pixels may still give a picture; what matters
    // is that nothing crashes or hangs and no garbage size comes out.
    void hostileInputFails()
    {
        QFETCH(QByteArray, bytes);
        const QImage image = readBytes(bytes);
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

    void severalThreadsAtOnce()
    {
        const QByteArrayList formats{"heic", "avif", "jxl", "heic", "avif", "jxl"};
        std::atomic<int> good{0};
        std::vector<std::thread> threads;
        for (const QByteArray &format : formats) {
            threads.emplace_back([format, &good] {
                const QImage original = kxtest::makePhotoLikeImage(64, 48);
                const QImage decoded = readBytes(encodeWithQt(original, format));
                good += kxtest::meanChannelDifference(decoded, original) <= 5 ? 1 : 0;
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(good.load(), int(formats.size()));
    }
};

QTEST_GUILESS_MAIN(TestImageFormats)
#include "tst_imageformats.moc"
