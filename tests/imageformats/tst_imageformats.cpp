// The HEIF/HEIC/AVIF and JPEG XL plugins, through QImageReader and QImageWriter.
// What they decode, and hostile files, are checked through the loader (tst_loadimage),
// the one road to them.

#include "codecfixtures.h"
#include "kxtest.h"

#include <QBuffer>
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
