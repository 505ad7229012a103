// Source loading: every accepted type through the one reader road.

#include "codecfixtures.h"
#include "imagemagickutil.h"
#include "imagewriters.h"
#include "kxtest.h"

#include <QFile>

using namespace codecfixtures;

namespace {

QByteArray encodeSource(const QImage &image, const QString &suffix)
{
    QTemporaryDir dir;
    // One flat colour, so the palette holds it exactly.
    if (suffix == "gif")
        return writeGif(image.convertToFormat(QImage::Format_Indexed8, QList<QRgb>{image.pixel(0, 0)}), dir.filePath("f.gif"))
                   ? kxtest::readFile(dir.filePath("f.gif")) : QByteArray();
    return encodeWithQt(image, suffix == "tif" ? QByteArray("tiff") : suffix.toLatin1());
}

} // namespace

class TestLoadImage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes) { return kxtest::writeFile(m_dir.filePath(name), bytes); }
    // The reader picks the decoder from content and suffix; one suffix per decoder.
    static QList<QString> sourceTypes() { return {"gif", "heic", "avif", "jxl", "jpg", "png", "tif", "webp"}; }

private slots:
    void initTestCase() { kxtest::isolateUserData(); }

    void decodes_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<double>("tolerance");
        // GIF fixtures carry one flat colour; the rest a photo-like picture.
        const QImage photo = kxtest::makePhotoLikeImage(64, 48);
        const QImage flat = kxtest::makeBlocksImage(64, 48, {QColor(200, 40, 90)});
        const QHash<QString, double> tolerance{{"gif", 0}, {"png", 0}, {"tif", 0}, {"avif", 5}, {"heic", 5}, {"jpg", 6}, {"webp", 6}};
        for (const QString &suffix : sourceTypes()) {
            const QImage original = suffix == "gif" ? flat : photo;
            QTest::newRow(qPrintable(suffix)) << "source." + suffix << encodeSource(original, suffix) << original
                                              << tolerance.value(suffix, 3);
        }
        // Phones save HEIC photos as .jpg; the content picks the decoder, whatever the name says.
        QTest::newRow("heic as jpg") << "photo.jpg" << encodeSource(photo, "heic") << photo << 5.0;
        QTest::newRow("avif without suffix") << "photo" << encodeSource(photo, "avif") << photo << 5.0;
        QTest::newRow("jxl as dat") << "photo.dat" << encodeSource(photo, "jxl") << photo << 3.0;

        // Orientation 6: a quarter turn clockwise brings the stored bottom-left corner top-left.
        QImage stored = kxtest::makeBlocksImage(64, 48, {Qt::blue});
        QPainter(&stored).fillRect(0, 32, 16, 16, Qt::red);
        const QImage upright = stored.transformed(QTransform().rotate(90));
        QTest::newRow("jpg exif orientation") << "oriented.jpg" << kxtest::jpegWithExifOrientation(encodeWithQt(stored, "jpg", 95), 6)
                                              << upright << 6.0;
        QTest::newRow("heic irot") << "oriented.heic" << encodeHeif(stored, false, 6) << upright << 6.0;
        QTest::newRow("avif irot") << "oriented.avif" << encodeHeif(stored, true, 6) << upright << 6.0;
        QTest::newRow("jxl orientation") << "oriented.jxl" << encodeJxl(stored, 6) << upright << 6.0;
    }

    void decodes()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QImage, expected);
        QFETCH(double, tolerance);
        QImage loaded;
        QVERIFY(ImageMagickUtil().loadImage(writeFile(fileName, bytes), loaded));
        QCOMPARE(loaded.size(), expected.size());
        const double difference = kxtest::meanChannelDifference(loaded, expected);
        QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
    }

    void brokenFilesFail_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("mayGivePartialPicture");
        QByteArray garbage(3000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 251);
        for (const QString &suffix : sourceTypes()) {
            const QByteArray good = encodeSource(kxtest::makePhotoLikeImage(64, 48), suffix);
            QTest::newRow(qPrintable(suffix + " garbage")) << suffix << garbage << false;
            QTest::newRow(qPrintable(suffix + " header only")) << suffix << good.left(16) << false;
            // Some decoders fill in what is missing from a cut-off file.
            QTest::newRow(qPrintable(suffix + " half")) << suffix << good.left(good.size() / 2) << true;
        }
        // Headers declaring 20000 x 20000 are refused before the pixels are allocated.
        for (const auto &[suffix, bytes] : {std::pair("heic", heifDeclaringSize(encodeWithQt(kxtest::makePhotoLikeImage(64, 48), "heic"), 20000, 20000)),
                                            std::pair("jxl", jxlHeaderDeclaringSize(20000, 20000))}) {
            QVERIFY(!bytes.isEmpty());
            QTest::addRow("%s huge", suffix) << QString(suffix) << bytes << false;
        }
    }

    void brokenFilesFail()
    {
        QFETCH(QString, suffix);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, mayGivePartialPicture);
        QImage loaded;
        const bool ok = ImageMagickUtil().loadImage(writeFile("broken." + suffix, bytes), loaded);
        QVERIFY(!ok || (mayGivePartialPicture && loaded.size() == QSize(64, 48)));
    }

    void notARegularFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("dangling link") << m_dir.filePath("dangling.png");
    }

    void notARegularFile()
    {
        QFETCH(QString, path);
        QFile::link(m_dir.filePath("nowhere.png"), m_dir.filePath("dangling.png"));
        QImage image = kxtest::makeBlocksImage(3, 2, {Qt::green});
        const QImage before = image;
        QVERIFY(!ImageMagickUtil().loadImage(path, image));
        QCOMPARE(image, before);
    }
};

QTEST_GUILESS_MAIN(TestLoadImage)
#include "tst_loadimage.moc"
