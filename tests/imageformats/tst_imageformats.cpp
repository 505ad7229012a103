// The HEIF/HEIC/AVIF and JPEG XL plugins, through QImageReader and QImageWriter.

#include "codecfixtures.h"
#include "kxtest.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
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
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

    static QImage readBytes(const QByteArray &bytes, bool autoTransform = true)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(autoTransform);
        return reader.read();
    }

    static QByteArray encode(const QImage &image, const QByteArray &format, int quality = -1)
    {
        return encodeWithQt(image, format, quality);
    }

private slots:
    void initTestCase()
    {
        kxtest::isolateUserData();
        QVERIFY(m_dir.isValid());
    }

    void keysAreRegistered()
    {
        const QList<QByteArray> readable = QImageReader::supportedImageFormats();
        const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
        for (const QByteArray format : {"heif", "heic", "avif", "jxl"}) {
            QVERIFY2(readable.contains(format), format.constData());
            QVERIFY2(writable.contains(format), format.constData());
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("heic") << QByteArray("heic") << QSize(64, 48) << false << 5.0;
        QTest::newRow("heif") << QByteArray("heif") << QSize(64, 48) << false << 5.0;
        QTest::newRow("avif") << QByteArray("avif") << QSize(64, 48) << false << 5.0;
        QTest::newRow("jxl") << QByteArray("jxl") << QSize(64, 48) << false << 3.0;
        QTest::newRow("heic odd size") << QByteArray("heic") << QSize(65, 47) << false << 5.0;
        QTest::newRow("avif odd size") << QByteArray("avif") << QSize(65, 47) << false << 5.0;
        QTest::newRow("jxl odd size") << QByteArray("jxl") << QSize(65, 47) << false << 3.0;
        QTest::newRow("heic 1x1") << QByteArray("heic") << QSize(1, 1) << false << 5.0;
        QTest::newRow("avif 1x1") << QByteArray("avif") << QSize(1, 1) << false << 5.0;
        QTest::newRow("jxl 1x1") << QByteArray("jxl") << QSize(1, 1) << false << 3.0;
        QTest::newRow("heic alpha") << QByteArray("heic") << QSize(64, 48) << true << 5.0;
        QTest::newRow("avif alpha") << QByteArray("avif") << QSize(64, 48) << true << 5.0;
        QTest::newRow("jxl alpha") << QByteArray("jxl") << QSize(64, 48) << true << 3.0;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        QFETCH(double, tolerance);
        const QImage original = kxtest::makePhotoLikeImage(size.width(), size.height(), alpha);
        const QByteArray bytes = encode(original, format);
        QVERIFY(!bytes.isEmpty());

        const QImage decoded = readBytes(bytes);
        QCOMPARE(decoded.size(), size);
        QCOMPARE(decoded.hasAlphaChannel(), alpha);
        QVERIFY2(meanChannelDifference(decoded, original) <= tolerance,
                 qPrintable(QString::number(meanChannelDifference(decoded, original))));
    }

    void losslessJxlAtFullQuality()
    {
        const QImage original = kxtest::makePhotoLikeImage(64, 48, true);
        const QImage decoded = readBytes(encode(original, "jxl", 100));
        QCOMPARE(kxtest::maxChannelDifference(decoded, original), 0);
    }

    void qualityChangesTheFile_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("heic") << QByteArray("heic");
        QTest::newRow("avif") << QByteArray("avif");
        QTest::newRow("jxl") << QByteArray("jxl");
    }

    void qualityChangesTheFile()
    {
        QFETCH(QByteArray, format);
        const QImage original = kxtest::makePhotoLikeImage(128, 96);
        const QByteArray low = encode(original, format, 10);
        const QByteArray high = encode(original, format, 95);
        QVERIFY(!low.isEmpty() && !high.isEmpty());
        QVERIFY2(low.size() < high.size(), qPrintable(QStringLiteral("%1 vs %2").arg(low.size()).arg(high.size())));
    }

    void iccProfileSurvives_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("heic") << QByteArray("heic");
        QTest::newRow("avif") << QByteArray("avif");
        QTest::newRow("jxl") << QByteArray("jxl");
    }

    void iccProfileSurvives()
    {
        QFETCH(QByteArray, format);
        QImage original = kxtest::makePhotoLikeImage(64, 48);
        original.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const QImage decoded = readBytes(encode(original, format));
        QVERIFY(!decoded.isNull());
        QCOMPARE(decoded.colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY2(meanChannelDifference(decoded, original) <= (format == "jxl" ? 3 : 5),
                 qPrintable(QString::number(meanChannelDifference(decoded, original))));
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
        const QImage decoded = readBytes(encode(original, "jxl"));
        QCOMPARE(decoded.colorSpace(), tabulated);
        QCOMPARE(decoded.format(), QImage::Format_RGB888);
        QVERIFY2(meanChannelDifference(decoded, original) <= 3,
                 qPrintable(QString::number(meanChannelDifference(decoded, original))));
    }

    // The content decides, whatever the name says.
    void recognisedByContent_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("heic as .bin") << QByteArray("heic") << "photo.bin";
        QTest::newRow("avif without suffix") << QByteArray("avif") << "photo";
        QTest::newRow("avif as .heic") << QByteArray("avif") << "avif.heic";
        QTest::newRow("jxl as .dat") << QByteArray("jxl") << "photo.dat";
    }

    void recognisedByContent()
    {
        QFETCH(QByteArray, format);
        QFETCH(QString, fileName);
        const QString path = writeFile(fileName, encode(kxtest::makePhotoLikeImage(64, 48), format));
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.read().size(), QSize(64, 48));
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

    // Orientation 6: the stored picture is shown turned a quarter clockwise,
    // so its bottom-left corner becomes the top-left one.
    void orientationAppliedOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QImage stored = kxtest::makeBlocksImage(64, 48, {Qt::blue});
        QImage marked = stored;
        QPainter(&marked).fillRect(0, 32, 16, 16, Qt::red);
        QTest::newRow("heic irot") << encodeHeifWithOrientation(marked, false, 6);
        QTest::newRow("avif irot") << encodeHeifWithOrientation(marked, true, 6);
        QTest::newRow("jxl orientation") << encodeJxlWithOrientation(marked, 6);
    }

    void orientationAppliedOnce()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        const QImage upright = readBytes(bytes, true);
        QCOMPARE(upright.size(), QSize(48, 64));
        QVERIFY2(kxtest::maxChannelDifference(upright.copy(4, 4, 1, 1),
                                              kxtest::makeBlocksImage(1, 1, {Qt::red}))
                     <= 40,
                 "top-left is not the red corner");
        QVERIFY(kxtest::maxChannelDifference(upright.copy(44, 60, 1, 1), kxtest::makeBlocksImage(1, 1, {Qt::blue}))
                <= 40);
    }

    void sizeWithoutDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        const QByteArray heic = encode(kxtest::makePhotoLikeImage(64, 48), "heic");
        QTest::newRow("heic") << heic << QSize(64, 48);
        QTest::newRow("heic declaring 20000") << heifDeclaringSize(heic, 20000, 20000) << QSize(20000, 20000);
        QTest::newRow("jxl header only") << jxlHeaderDeclaringSize(20000, 20000) << QSize(20000, 20000);
    }

    void sizeWithoutDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        QCOMPARE(reader.size(), size);
    }

    void hugeImagesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QImage small = kxtest::makePhotoLikeImage(64, 48);
        QTest::newRow("heic") << heifDeclaringSize(encode(small, "heic"), 20000, 20000);
        QTest::newRow("avif") << heifDeclaringSize(encode(small, "avif"), 20000, 20000);
        QTest::newRow("jxl") << jxlHeaderDeclaringSize(20000, 20000);
    }

    void hugeImagesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QImageReader::setAllocationLimit(256);
        QVERIFY(readBytes(bytes).isNull());
    }

    void hostileInputFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QImage picture = kxtest::makePhotoLikeImage(64, 48);
        for (const QByteArray format : {"heic", "avif", "jxl"}) {
            const QByteArray good = encode(picture, format);
            QTest::newRow(format + " empty body") << good.left(12);
            QTest::newRow(format + " half") << good.left(good.size() / 2);
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

    void nullImageIsNotWritten_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("heic") << QByteArray("heic");
        QTest::newRow("avif") << QByteArray("avif");
        QTest::newRow("jxl") << QByteArray("jxl");
    }

    void nullImageIsNotWritten()
    {
        QFETCH(QByteArray, format);
        QCOMPARE(encode(QImage(), format), QByteArray());
    }

    void deepImagesAreWrittenAsEightBit()
    {
        const QImage deep = kxtest::makePhotoLikeImage(64, 48).convertToFormat(QImage::Format_RGBX64);
        for (const QByteArray format : {"heic", "jxl"}) {
            const QImage decoded = readBytes(encode(deep, format));
            QCOMPARE(decoded.size(), QSize(64, 48));
            QVERIFY2(meanChannelDifference(decoded, deep) <= 5, format.constData());
        }
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
        const QImage decoded = readBytes(encodeJxlGrey(original, alpha));
        QCOMPARE(decoded.size(), original.size());
        QCOMPARE(decoded.hasAlphaChannel(), alpha);
        QImage grey = original.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                const QRgb p = grey.pixel(x, y);
                grey.setPixel(x, y, qRgba(qGray(p), qGray(p), qGray(p), qAlpha(p)));
            }
        QCOMPARE(meanChannelDifference(decoded, grey), 0.0);
    }

    // (Debian's libaom cannot encode 10-bit AVIF through libheif, so only HEVC here.)
    void tenBitFilesKeepTheirDepth()
    {
        const QImage original = kxtest::makePhotoLikeImage(64, 48);
        const QByteArray bytes = encodeHeifTenBit(original, false);
        QVERIFY(!bytes.isEmpty());
        const QImage decoded = readBytes(bytes);
        QCOMPARE(decoded.format(), QImage::Format_RGBX64);
        QVERIFY2(meanChannelDifference(decoded, original) <= 5,
                 qPrintable(QString::number(meanChannelDifference(decoded, original))));
        // Full range: white stays white.
        QImage white(32, 32, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(readBytes(encodeHeifTenBit(white, false)).pixelColor(16, 16).rgba64().red(), quint16(0xffff));
    }

    void severalThreadsAtOnce()
    {
        const QList<QByteArray> formats{"heic", "avif", "jxl", "heic", "avif", "jxl"};
        std::atomic<int> good{0};
        std::vector<std::thread> threads;
        for (const QByteArray &format : formats) {
            threads.emplace_back([format, &good] {
                const QImage original = kxtest::makePhotoLikeImage(64, 48);
                const QImage decoded = readBytes(encode(original, format));
                if (decoded.size() == original.size() && meanChannelDifference(decoded, original) <= 5)
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
