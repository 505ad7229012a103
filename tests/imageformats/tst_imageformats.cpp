// The HEIF/HEIC/AVIF and JPEG XL plugins, through QImageReader and QImageWriter.
// What they decode, and hostile files, are checked through the loader (tst_loadimage),
// the one road to them; here, the colours the HEIF handler works out itself.

#include "codecfixtures.h"
#include "readerinterface.h"
#include "kxtest.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <atomic>
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

// A flat picture through libheif, its colours described by nclx (matrix BT.601).
QByteArray encodeDescribed(const QImage &flat, bool av1, int primaries, int transfer, bool fullRange)
{
    heif_color_profile_nclx nclx{};
    nclx.version = 1;
    nclx.color_primaries = heif_color_primaries(primaries);
    nclx.transfer_characteristics = heif_transfer_characteristics(transfer);
    nclx.matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
    nclx.full_range_flag = fullRange;
    return encodeHeif(flat, av1, 1, 8, &nclx);
}

} // namespace

class TestImageFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

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

    // The sRGB colour a flat picture comes out as; HDR ones are refused.
    void heifColours_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QColor>("srgb");
        QTest::addColumn<QByteArray>("refusal");
        const auto row = [](const char *name, const QByteArray &file, const QColor &srgb, const char *refusal = "") {
            QTest::newRow(name) << file << srgb << QByteArray(refusal);
        };
        QImage grey(16, 16, QImage::Format_Grayscale8);
        QImage colour(16, 16, QImage::Format_RGB888);
        // Grey stored on the video range, where 235 is white (libheif's AV1
        // encoder makes no deeper grey, and its HEVC one no grey at all).
        grey.fill(235);
        row("avif grey video range", encodeDescribed(grey, true, 1, 13, false), Qt::white);
        // Worked out by hand from the curves and the BT.2020 to sRGB matrix.
        colour.fill(QColor(124, 170, 124));
        row("avif bt2020", encodeDescribed(colour, true, 9, 14, true), QColor(100, 183, 131));
        colour.fill(QColor(51, 51, 51));
        row("heic bt709 curve", encodeDescribed(colour, false, 1, 1, true), QColor(67, 67, 67));
        colour.fill(QColor(20, 20, 20));
        row("avif gamma 2.2", encodeDescribed(colour, true, 1, 4, true), QColor(12, 12, 12));
        row("avif pq", encodeDescribed(colour, true, 9, 16, true), QColor(), "PQ");
        row("heic hlg", encodeDescribed(colour, false, 9, 18, true), QColor(), "HLG");
    }

    void heifColours()
    {
        QFETCH(QByteArray, file);
        QFETCH(QColor, srgb);
        QFETCH(QByteArray, refusal);
        QVERIFY(!file.isEmpty());
        const QImage decoded = readBytes(file);
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(QImageReader(&buffer).text(RefusalText::hdrTransfer).toLatin1(), refusal);
        if (!refusal.isEmpty()) {
            QVERIFY(decoded.isNull());
            return;
        }
        QVERIFY(!decoded.isNull());
        const QColor found = decoded.convertedToColorSpace(QColorSpace::SRgb).pixelColor(8, 8);
        const int off = qMax(qMax(qAbs(found.red() - srgb.red()), qAbs(found.green() - srgb.green())),
                             qAbs(found.blue() - srgb.blue()));
        QVERIFY2(off <= 3, qPrintable(found.name()));
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

    // A JPEG XL wider and taller than the encoder's tiles, with alpha: the
    // tiles come together again as the one picture.
    void jxlLargerThanATile()
    {
        for (const QSize size : {QSize(2100, 30), QSize(30, 2100)}) {
            const QImage original = kxtest::makePhotoLikeImage(size.width(), size.height(), true);
            const QImage decoded = readBytes(encodeWithQt(original, "jxl"));
            QCOMPARE(decoded.size(), size);
            const QRect far(QPoint(size.width() - 60, size.height() - 30), QSize(60, 30));
            QVERIFY(kxtest::meanChannelDifference(decoded.copy(far), original.copy(far)) <= 12);
        }
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
